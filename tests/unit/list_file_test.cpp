#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

#include "core/list_file.h"

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

TEST_P(ReadLines, GivesTheSameLinesWhereverThePiecesBreak) {
    const std::string& bytes = GetParam().bytes;
    for (std::size_t size = 1; size <= bytes.size(); ++size) {
        LineReader reader(std::numeric_limits<std::size_t>::max());
        for (std::size_t at = 0; at < bytes.size(); at += size) reader.feed(std::string_view(bytes).substr(at, size));
        reader.finish();
        EXPECT_EQ(reader.kept(), GetParam().lines) << "pieces of " << size;
        EXPECT_EQ(reader.total(), GetParam().lines.size()) << "pieces of " << size;
    }
}

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

std::string repeated(const std::string& unit, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += unit;
    return out;
}

// Feeds `unit` repeated `times` times, in pieces of about `pieceSize` bytes.
void feedRepeated(LineReader& reader, const std::string& unit, std::size_t times, std::size_t pieceSize) {
    std::string piece;
    std::size_t perPiece = std::max<std::size_t>(1, pieceSize / unit.size());
    for (std::size_t i = 0; i < perPiece; ++i) piece += unit;
    for (std::size_t done = 0; done < times; done += perPiece)
        reader.feed(std::string_view(piece).substr(0, std::min(perPiece, times - done) * unit.size()));
}

struct BoundedCase {
    const char* name;
    std::size_t capacity;
    std::function<void(LineReader&)> feed;
    std::uint64_t total;
    std::size_t keptCount;
    std::string firstKept, lastKept;
};

class BoundedReading : public testing::TestWithParam<BoundedCase> {};

TEST_P(BoundedReading, KeepsUpToTheCapacityAndCountsEveryLine) {
    const BoundedCase& c = GetParam();
    LineReader reader(c.capacity);
    c.feed(reader);
    reader.finish();
    EXPECT_EQ(reader.total(), c.total);
    ASSERT_EQ(reader.kept().size(), c.keptCount);
    EXPECT_EQ(reader.kept().front(), c.firstKept);
    EXPECT_EQ(reader.kept().back(), c.lastKept);
}

INSTANTIATE_TEST_SUITE_P(
    HugeInput, BoundedReading,
    testing::Values(
        BoundedCase{"MillionCrLfLines", 32767,
                    [](LineReader& r) { feedRepeated(r, "UP\r\nDOWN\r\n", 500000, 64 * 1024); }, 1000000, 32767,
                    "UP", "UP"},
        BoundedCase{"MillionLoneCrLinesInTinyPieces", 32767,
                    [](LineReader& r) { feedRepeated(r, "LEFT\r", 1000000, 3); }, 1000000, 32767, "LEFT", "LEFT"},
        BoundedCase{"ExactlyFull", 32767, [](LineReader& r) { feedRepeated(r, "UP\r\n", 32767, 4096); }, 32767,
                    32767, "UP", "UP"},
        BoundedCase{"OneOverWithoutLastLineEnd", 32767,
                    [](LineReader& r) {
                        feedRepeated(r, "UP\r\n", 32767, 4096);
                        r.feed("RIGHT");
                    },
                    32768, 32767, "UP", "UP"},
        BoundedCase{"MillionLoneLfsAreOneLine", 32767, [](LineReader& r) { feedRepeated(r, "x\n", 1000000, 65536); },
                    1, 1, repeated("x\n", 1000000), repeated("x\n", 1000000)},
        BoundedCase{"HundredMegabyteLineAfterTheListIsFull", 3,
                    [](LineReader& r) {
                        r.feed("A\rB\r\nC\r");
                        feedRepeated(r, std::string(1 << 20, 'x'), 100, 1 << 20);
                        r.feed("\r\nD");
                    },
                    5, 3, "A", "C"},
        BoundedCase{"CrLfSplitAcrossPiecesAtTheCapacity", 1,
                    [](LineReader& r) {
                        for (const char* piece : {"A\r", "\nB\r", "\n", "\r"}) r.feed(piece);
                    },
                    3, 1, "A", "A"}),
    [](const testing::TestParamInfo<BoundedCase>& p) { return std::string(p.param.name); });

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
