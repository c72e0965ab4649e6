#include <gtest/gtest.h>

#include "macro/list_file.h"

namespace tavrel {
namespace {

using Lines = std::vector<std::string>;

struct ReadCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

class ReadLines : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadLines, SplitsAtCrLfAndLoneCrOnly) { EXPECT_EQ(readLines(GetParam().bytes), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    LineEnds, ReadLines,
    testing::Values(ReadCase{"Empty", "", {}},
                    ReadCase{"TheExample", "UP\r\nUP\r\nRIGHT\r\n", {"UP", "UP", "RIGHT"}},
                    ReadCase{"LastLineWithoutEnd", "UP\r\nUP\r\nRIGHT", {"UP", "UP", "RIGHT"}},
                    ReadCase{"DoubleEndGivesEmptyLast", "UP\r\n\r\n", {"UP", ""}},
                    ReadCase{"EmptyLinesKept", "\r\n\r\nDOWN\r\n", {"", "", "DOWN"}},
                    ReadCase{"LoneCr", "UP\rDOWN\rLEFT", {"UP", "DOWN", "LEFT"}},
                    ReadCase{"LoneLfStaysInside", "UP\nDOWN\nLEFT\n", {"UP\nDOWN\nLEFT\n"}},
                    ReadCase{"CrThenCrLf", "A\r\r\nB", {"A", "", "B"}},
                    ReadCase{"LfCr", "A\n\rB", {"A\n", "B"}},
                    ReadCase{"OnlyCr", "\r", {""}},
                    ReadCase{"OnlyLf", "\n", {"\n"}},
                    ReadCase{"TrailingCr", "A\r", {"A"}},
                    ReadCase{"TextKeptVerbatim", " up\r\nUP \r\nJUMP\r\n", {" up", "UP ", "JUMP"}}),
    [](const testing::TestParamInfo<ReadCase>& p) { return std::string(p.param.name); });

TEST(ListFile, TheExampleListIsFifteenBytes) {
    std::string bytes = encodeListFile({"UP", "UP", "RIGHT"});
    EXPECT_EQ(bytes, "UP\r\nUP\r\nRIGHT\r\n");
    EXPECT_EQ(bytes.size(), 15u);
}

TEST(ListFile, EmptyListAndEmptyFileMatch) {
    EXPECT_EQ(encodeListFile({}), "");
    EXPECT_TRUE(readLines("").empty());
}

TEST(ListFile, EveryByteButCrSurvivesWriteThenRead) {
    // One entry per byte value, and one entry holding them all.
    Lines entries;
    std::string all;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r') continue;
        entries.emplace_back(1, static_cast<char>(b));
        all.push_back(static_cast<char>(b));
    }
    entries.push_back(all);
    entries.push_back("");
    EXPECT_EQ(readLines(encodeListFile(entries)), entries);
}

TEST(ListFile, AFullListRoundTrips) {
    Lines entries;
    const char* texts[] = {"UP", "DOWN", "LEFT", "RIGHT"};
    for (int i = 0; i < 32767; ++i) entries.emplace_back(texts[i % 4]);
    std::string bytes = encodeListFile(entries);
    EXPECT_EQ(readLines(bytes), entries);
}

}  // namespace
}  // namespace tavrel
