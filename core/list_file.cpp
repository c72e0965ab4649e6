#include "core/list_file.h"

#include <limits>
#include <utility>

namespace tavrel {

std::vector<std::string> readLines(std::string_view bytes) {
    LineReader reader(std::numeric_limits<std::size_t>::max());
    reader.feed(bytes);
    reader.finish();
    return std::move(reader.kept());
}

void LineReader::feed(std::string_view piece) {
    while (!piece.empty()) {
        if (afterCr_) {
            afterCr_ = false;
            if (piece.front() == '\n') {
                piece.remove_prefix(1);
                continue;
            }
        }
        const std::size_t cr = piece.find('\r');
        const std::string_view text = piece.substr(0, cr);
        if (!text.empty()) {
            inLine_ = true;
            if (keeping()) current_.append(text);
        }
        if (cr == std::string_view::npos) return;
        endLine();
        afterCr_ = true;
        piece.remove_prefix(cr + 1);
    }
}

void LineReader::finish() {
    if (inLine_) endLine();
    afterCr_ = false;
}

void LineReader::endLine() {
    ++total_;
    if (keeping()) kept_.push_back(std::move(current_));
    current_.clear();
    inLine_ = false;
}

std::string encodeListFile(const std::vector<std::string>& entries) {
    std::string out;
    for (const auto& e : entries) {
        out += e;
        out += "\r\n";
    }
    return out;
}

}  // namespace tavrel
