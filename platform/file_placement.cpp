#include "platform/file_placement.h"

namespace tavrel {

std::string putInPlace(FileMoves& moves, const std::string& temp, const std::string& target, bool replaceFirst) {
    if (replaceFirst && moves.replace(target, temp) == 0) return {};
    const std::uint32_t error = moves.move(temp, target);
    if (error == 0) return {};
    return moves.describe(error) + "\nThe new content was kept in \"" + temp + "\".";
}

}  // namespace tavrel
