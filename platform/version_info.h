// Reads the program's title and version out of its version resource.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

struct VersionInfo {
    std::u16string title;  // the ProductName string
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// Parses a VS_VERSIONINFO block as the resource compiler lays it out. The
// version numbers come from the fixed file version major.minor.revision.0;
// nullopt when the block is malformed or lacks the fixed part.
std::optional<VersionInfo> parseVersionInfo(std::string_view block);

}  // namespace tavrel
