#include "platform/integrity_level.h"

namespace tavrel {

bool targetRunsHigher(long ours, long theirs) {
    if (ours == kLevelUnreadable) return false;
    return theirs == kLevelUnreadable || theirs > ours;
}

}  // namespace tavrel
