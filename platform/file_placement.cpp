#include "platform/file_placement.h"

namespace tavrel {

namespace {

// Error 80, "The file exists.": every temporary name is taken.
constexpr std::uint32_t kFileExists = 80;
constexpr int kTempNames = 9;

// One fixed name beside the target: a save cut off by a power cut or a kill
// leaves at most this one file, and the next save writes over it. Not while
// the target is gone and that file is there: then it may hold the only whole
// copy of the file (a replace that ended in 1176, then a failed move, as the
// user was told), so the save writes beside it, under the first free name.
std::string tempName(FileMoves& moves, const std::string& target) {
    const std::string first = target + ".tmp";
    if (moves.exists(target) || !moves.exists(first)) return first;
    for (int n = 2; n <= kTempNames; ++n) {
        std::string name = first + std::to_string(n);
        if (!moves.exists(name)) return name;
    }
    return {};
}

}  // namespace

std::string putInPlace(FileMoves& moves, const std::string& temp, const std::string& target, bool replaceFirst) {
    std::uint32_t replaced = 0;
    if (replaceFirst) {
        replaced = moves.replace(target, temp);
        if (replaced == 0) return {};
    }
    const std::uint32_t error = moves.move(temp, target);
    if (error == 0) return {};
    if (replaced == kUnableToMoveReplacement || replaced == kUnableToMoveReplacement2)
        return moves.describe(error) + "\n\"" + target + "\" is gone; what was saved is now only in \"" + temp + "\".";
    return moves.describe(error) + "\nThe new content was kept in \"" + temp + "\".";
}

std::string saveReplacing(FileMoves& moves, const std::string& target, std::string_view bytes, bool replaceFirst) {
    const std::string temp = tempName(moves, target);
    if (temp.empty())
        return moves.describe(kFileExists) + "\nEarlier saves wait in \"" + target +
               ".tmp\" and the files numbered after it: move them away first.";
    if (const std::uint32_t error = moves.write(temp, bytes); error != 0) {
        // A part written is no copy of anything.
        moves.remove(temp);
        return moves.describe(error);
    }
    return putInPlace(moves, temp, target, replaceFirst);
}

}  // namespace tavrel
