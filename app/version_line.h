#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// "Tavrel (version:1.1.2.)": title, then the three numbers, each followed by a full stop.
std::string versionLine(std::string_view title, int major, int minor, int revision);

}  // namespace tavrel
