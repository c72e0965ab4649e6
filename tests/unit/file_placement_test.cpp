// A save's last step against every outcome the replace documents, on a disk
// of name -> content: the new content is never lost, and the user is told
// where it is whenever it is not in the list file.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "platform/file_placement.h"

namespace tavrel {
namespace {

constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kSharingViolation = 32;
const std::string kTarget = "C:\\Tavrel\\TavrelXP.txt";
const std::string kTemp = kTarget + ".tmp";

// Does to the disk what the system documents for each result.
struct DiskMoves final : FileMoves {
    std::uint32_t replace(const std::string& target, const std::string& temp) override {
        ++replaces;
        switch (replaceResult) {
            case 0:
                disk[target] = disk.at(temp);
                disk.erase(temp);
                break;
            case kUnableToMoveReplacement: disk.erase(target); break;
            case kUnableToMoveReplacement2:
                disk["C:\\Tavrel\\~aside"] = disk.at(target);
                disk.erase(target);
                break;
            default: break;  // 1175 and every other error: nothing moved
        }
        return replaceResult;
    }
    std::uint32_t move(const std::string& temp, const std::string& target) override {
        ++moves;
        if (moveResult == 0) {
            disk[target] = disk.at(temp);
            disk.erase(temp);
        }
        return moveResult;
    }
    std::string describe(std::uint32_t error) override { return "error " + std::to_string(error); }

    std::uint32_t replaceResult = 0;
    std::uint32_t moveResult = 0;
    int replaces = 0;
    int moves = 0;
    std::map<std::string, std::string> disk{{kTarget, "old"}, {kTemp, "new"}};
};

TEST(PutInPlace, EveryReplaceOutcomeKeepsTheNewContentAndSaysWhere) {
    const std::optional<std::string> gone;
    const struct {
        const char* name;
        bool replaceFirst;
        std::uint32_t replaceResult;
        std::uint32_t moveResult;
        int movesTried;
        std::optional<std::string> target;  // content afterwards, or gone
        bool tempKept;
        std::string message;  // empty: success
    } cases[] = {
        {"replaced", true, 0, 0, 0, "new", false, ""},
        {"1175, then moved", true, kUnableToRemoveReplaced, 0, 1, "new", false, ""},
        {"1175, move fails: old file stays", true, kUnableToRemoveReplaced, kSharingViolation, 1, "old", true,
         "error 32"},
        {"1176, then moved", true, kUnableToMoveReplacement, 0, 1, "new", false, ""},
        {"1176, move fails: only the temporary file is left", true, kUnableToMoveReplacement, kAccessDenied, 1,
         gone, true, "error 5"},
        {"1177, then moved", true, kUnableToMoveReplacement2, 0, 1, "new", false, ""},
        {"1177, move fails", true, kUnableToMoveReplacement2, kAccessDenied, 1, gone, true, "error 5"},
        {"other error, then moved", true, kAccessDenied, 0, 1, "new", false, ""},
        {"other error, move fails", true, kSharingViolation, kSharingViolation, 1, "old", true, "error 32"},
        {"no replace: moved", false, 0, 0, 1, "new", false, ""},
        {"no replace: move fails", false, 0, kAccessDenied, 1, "old", true, "error 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DiskMoves moves;
        moves.replaceResult = c.replaceResult;
        moves.moveResult = c.moveResult;
        const std::string message = putInPlace(moves, kTemp, kTarget, c.replaceFirst);

        EXPECT_EQ(moves.replaces, c.replaceFirst ? 1 : 0);
        EXPECT_EQ(moves.moves, c.movesTried);
        const auto target = moves.disk.find(kTarget);
        EXPECT_EQ(target == moves.disk.end() ? gone : std::optional<std::string>(target->second), c.target);
        EXPECT_EQ(moves.disk.count(kTemp) == 1, c.tempKept);
        if (c.message.empty()) {
            EXPECT_EQ(message, "");
        } else {
            EXPECT_EQ(message, c.message + "\nThe new content was kept in \"" + kTemp + "\".");
            EXPECT_EQ(moves.disk.at(kTemp), "new");
        }
    }
}

}  // namespace
}  // namespace tavrel
