// Which targets count as running higher, so that playback sends them nothing.
#include <gtest/gtest.h>

#include "platform/integrity_level.h"

namespace tavrel {
namespace {

TEST(TargetRunsHigher, OnlyAHigherOrUnreadableLevelRefuses) {
    const struct {
        const char* name;
        long ours, theirs;
        bool higher;
    } cases[] = {
        {"lower", 0x2000, 0x1000, false},
        {"equal", 0x2000, 0x2000, false},
        {"higher", 0x2000, 0x3000, true},
        {"theirs unreadable", 0x2000, -1, true},
        {"ours unreadable", -1, 0x3000, false},
    };
    for (const auto& c : cases) EXPECT_EQ(targetRunsHigher(c.ours, c.theirs), c.higher) << c.name;
}

}  // namespace
}  // namespace tavrel
