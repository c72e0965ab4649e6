// Starting other programs, such as the file manager. Paths and messages are UTF-8 text.
#pragma once

#include <string>

namespace tavrel {

// Shell-launch window styles.
enum class ShowStyle : int { Normal = 1, Maximized = 3 };

class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    // Starts the command line and returns at once; an empty string on
    // success, otherwise the system's description of the failure.
    virtual std::string launch(const std::string& commandLine, ShowStyle style) = 0;
};

}  // namespace tavrel
