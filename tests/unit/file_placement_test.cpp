// A save's last steps against every outcome the replace documents, on a disk
// of name -> content: the new content is never lost, no earlier copy either,
// and the user is told where the list is whenever it is not in the list file.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/file_placement.h"

namespace tavrel {
namespace {

constexpr std::uint32_t kDenied = 5, kShared = 32, kDiskFull = 112;
const std::string kFolder = "C:\\Tavrel\\", kTarget = kFolder + "TavrelXP.txt", kTemp = kTarget + ".tmp";

// Does to the disk what the system documents for each result, and logs each
// call by the file names it was given.
struct DiskMoves final : FileMoves {
    std::uint32_t replace(const std::string& target, const std::string& temp) override {
        calls.push_back("replace " + name(target) + " " + name(temp));
        if (replaceResult == 0) moveOnto(temp, target);
        if (replaceResult == kUnableToMoveReplacement2) moveOnto(target, kFolder + "~aside");
        if (replaceResult == kUnableToMoveReplacement) disk.erase(target);
        return replaceResult;  // 1175 and every other error: nothing moved
    }
    std::uint32_t move(const std::string& temp, const std::string& target) override {
        calls.push_back("move " + name(temp) + " " + name(target));
        if (moveResult == 0) moveOnto(temp, target);
        return moveResult;
    }
    std::uint32_t write(const std::string& path, std::string_view bytes) override {
        calls.push_back("write " + name(path));
        disk[path] = writeResult == 0 ? std::string(bytes) : "part";
        return writeResult;
    }
    bool exists(const std::string& path) override { return disk.count(path) != 0; }
    void remove(const std::string& path) override {
        calls.push_back("remove " + name(path));
        disk.erase(path);
    }
    std::string describe(std::uint32_t error) override { return "error " + std::to_string(error); }
    void moveOnto(const std::string& from, const std::string& to) {
        disk[to] = disk.at(from);
        disk.erase(from);
    }
    static std::string name(const std::string& path) { return path.substr(kFolder.size()); }
    std::uint32_t replaceResult = 0, moveResult = 0, writeResult = 0;
    std::vector<std::string> calls;
    std::map<std::string, std::string> disk;
};

TEST(SaveReplacing, EveryOutcomeKeepsTheNewContentAndEveryEarlierCopyAndSaysWhere) {
    const std::string w = "write TavrelXP.txt.tmp", r = "replace TavrelXP.txt TavrelXP.txt.tmp",
                      m = "move TavrelXP.txt.tmp TavrelXP.txt";
    const std::string kept = "\nThe new content was kept in \"C:\\Tavrel\\TavrelXP.txt.tmp\".";
    const std::string gone =
        "\n\"C:\\Tavrel\\TavrelXP.txt\" is gone; what was saved is now only in \"C:\\Tavrel\\TavrelXP.txt.tmp\".";
    const struct {
        bool replaceFirst;
        std::uint32_t replaceResult, moveResult, writeResult;
        // The disk before: "old" in the list file, or only "saved" in the
        // temporary file, left there by an earlier save that ended in 1176.
        bool afterEarlier1176;
        std::vector<std::string> calls;
        std::string message;  // as the user reads it; "" on success
    } cases[] = {
        {true, 0, 0, 0, false, {w, r}, ""},
        {true, kUnableToRemoveReplaced, 0, 0, false, {w, r, m}, ""},
        {true, kUnableToRemoveReplaced, kShared, 0, false, {w, r, m}, "error 32" + kept},
        {true, kUnableToMoveReplacement, 0, 0, false, {w, r, m}, ""},
        {true, kUnableToMoveReplacement, kDenied, 0, false, {w, r, m}, "error 5" + gone},
        {true, kUnableToMoveReplacement2, 0, 0, false, {w, r, m}, ""},
        {true, kUnableToMoveReplacement2, kDenied, 0, false, {w, r, m}, "error 5" + gone},
        {true, kDenied, 0, 0, false, {w, r, m}, ""},
        {true, kShared, kShared, 0, false, {w, r, m}, "error 32" + kept},
        {false, 0, 0, 0, false, {w, m}, ""},
        {false, 0, kDenied, 0, false, {w, m}, "error 5" + kept},
        {true, 0, 0, kDiskFull, false, {w, "remove TavrelXP.txt.tmp"}, "error 112"},
        // The temporary file holds the only copy of the list: kept, whatever
        // this save does.
        {false, 0, 0, kDiskFull, true, {"write TavrelXP.txt.tmp2", "remove TavrelXP.txt.tmp2"}, "error 112"},
        {false, 0, 0, 0, true, {"write TavrelXP.txt.tmp2", "move TavrelXP.txt.tmp2 TavrelXP.txt"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.calls.back() + " " + std::to_string(c.replaceResult) + " " + std::to_string(c.moveResult));
        DiskMoves moves;
        moves.replaceResult = c.replaceResult;
        moves.moveResult = c.moveResult;
        moves.writeResult = c.writeResult;
        moves.disk = c.afterEarlier1176 ? std::map<std::string, std::string>{{kTemp, "saved"}}
                                        : std::map<std::string, std::string>{{kTarget, "old"}};
        const auto before = moves.disk;

        EXPECT_EQ(saveReplacing(moves, kTarget, "new", c.replaceFirst), c.message);

        EXPECT_EQ(moves.calls, c.calls);
        if (c.afterEarlier1176) {
            EXPECT_EQ(moves.disk.at(kTemp), "saved");
        }
        const std::string written = kFolder + c.calls.front().substr(6);
        if (c.message.empty()) {
            EXPECT_EQ(moves.disk.at(kTarget), "new");
            EXPECT_EQ(moves.disk.count(written), 0u);
        } else if (c.writeResult == 0) {
            EXPECT_EQ(moves.disk.at(written), "new");
        } else {
            EXPECT_EQ(moves.disk, before);
        }
    }
}

}  // namespace
}  // namespace tavrel
