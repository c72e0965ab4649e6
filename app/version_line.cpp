#include "app/version_line.h"

namespace tavrel {

std::string versionLine(std::string_view title, int major, int minor, int revision) {
    return std::string(title) + " (version:" + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision) + ".)";
}

}  // namespace tavrel
