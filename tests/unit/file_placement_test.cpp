// A save's last step against every outcome the replace documents, on a disk
// of name -> content: the new content is never lost, and the user is told
// where it is whenever it is not in the list file.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/file_placement.h"

namespace tavrel {
namespace {

constexpr std::uint32_t kDenied = 5, kShared = 32;
const std::string kTarget = "C:\\Tavrel\\TavrelXP.txt", kTemp = kTarget + ".tmp";

// Does to the disk what the system documents for each result.
struct DiskMoves final : FileMoves {
    std::uint32_t replace(const std::string& target, const std::string& temp) override {
        if (replaceResult == 0) moveOnto(temp, target);
        if (replaceResult == kUnableToMoveReplacement2) moveOnto(target, "C:\\Tavrel\\~aside");
        if (replaceResult == kUnableToMoveReplacement) disk.erase(target);
        return replaceResult;  // 1175 and every other error: nothing moved
    }
    std::uint32_t move(const std::string& temp, const std::string& target) override {
        ++moves;
        if (moveResult == 0) moveOnto(temp, target);
        return moveResult;
    }
    std::string describe(std::uint32_t error) override { return "error " + std::to_string(error); }
    void moveOnto(const std::string& from, const std::string& to) {
        disk[to] = disk.at(from);
        disk.erase(from);
    }
    std::uint32_t replaceResult = 0, moveResult = 0;
    int moves = 0;
    std::map<std::string, std::string> disk{{kTarget, "old"}, {kTemp, "new"}};
};

TEST(PutInPlace, EveryReplaceOutcomeKeepsTheNewContentAndSaysWhere) {
    const struct {
        bool replaceFirst;
        std::uint32_t replaceResult, moveResult;
        int movesTried;
        const char* target;  // content afterwards, "" when gone
        std::string error;   // "" on success; then the temporary file is gone too
    } cases[] = {
        {true, 0, 0, 0, "new", ""},
        {true, kUnableToRemoveReplaced, 0, 1, "new", ""},
        {true, kUnableToRemoveReplaced, kShared, 1, "old", "error 32"},
        {true, kUnableToMoveReplacement, 0, 1, "new", ""},
        {true, kUnableToMoveReplacement, kDenied, 1, "", "error 5"},
        {true, kUnableToMoveReplacement2, 0, 1, "new", ""},
        {true, kUnableToMoveReplacement2, kDenied, 1, "", "error 5"},
        {true, kDenied, 0, 1, "new", ""},
        {true, kShared, kShared, 1, "old", "error 32"},
        {false, 0, 0, 1, "new", ""},
        {false, 0, kDenied, 1, "old", "error 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.replaceFirst) + " " + std::to_string(c.replaceResult) + " " +
                     std::to_string(c.moveResult));
        DiskMoves moves;
        moves.replaceResult = c.replaceResult;
        moves.moveResult = c.moveResult;
        const std::string message = putInPlace(moves, kTemp, kTarget, c.replaceFirst);
        EXPECT_EQ(moves.moves, c.movesTried);
        EXPECT_EQ(moves.disk.count(kTarget) ? moves.disk.at(kTarget) : "", c.target);
        if (c.error.empty()) {
            EXPECT_EQ(message, "");
            EXPECT_EQ(moves.disk.count(kTemp), 0u);
        } else {
            EXPECT_EQ(message, c.error + "\nThe new content was kept in \"" + kTemp + "\".");
            EXPECT_EQ(moves.disk.at(kTemp), "new");
        }
    }
}

}  // namespace
}  // namespace tavrel
