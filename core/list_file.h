// The list file's byte format: one entry per line, CR LF after each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

inline constexpr const char* kListFileName = "TavrelXP.txt";

// Splits text into lines as the program reads every text file: a
// line ends at CR LF or at a lone CR, a lone LF stays inside the line, and a
// last line without a line end still counts. Empty text gives no lines.
std::vector<std::string> readLines(std::string_view bytes);

// readLines for text that arrives in pieces and may be far larger than
// anything worth keeping: the first `capacity` lines are kept, the rest only
// counted, so memory follows what is kept, not the size of the file. A line
// end split between two pieces (CR at the end of one, LF at the start of the
// next) counts once.
class LineReader {
public:
    explicit LineReader(std::size_t capacity) : capacity_(capacity) {}
    void feed(std::string_view piece);
    // After the last piece: a last line without a line end still counts.
    void finish();
    std::vector<std::string>& kept() { return kept_; }
    // Every line, kept or not.
    std::uint64_t total() const { return total_; }

private:
    bool keeping() const { return kept_.size() < capacity_; }
    void endLine();

    std::size_t capacity_;
    std::vector<std::string> kept_;
    std::string current_;          // the line being read, when it is kept
    bool inLine_ = false;          // bytes of an unfinished line have come
    bool afterCr_ = false;         // an LF now would end the same line
    std::uint64_t total_ = 0;
};

// Every entry followed by CR LF; an empty list gives an empty file.
std::string encodeListFile(const std::vector<std::string>& entries);

}  // namespace tavrel
