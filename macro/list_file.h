// The list file's byte format: one entry per line, CR LF after each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

inline constexpr const char* kListFileName = "TavrelXP.txt";

// Splits text into lines the way the program has always read text files: a
// line ends at CR LF or at a lone CR, a lone LF stays inside the line, and a
// last line without a line end still counts. Empty text gives no lines.
std::vector<std::string> readLines(std::string_view bytes);

// Every entry followed by CR LF; an empty list gives an empty file.
std::string encodeListFile(const std::vector<std::string>& entries);

}  // namespace tavrel
