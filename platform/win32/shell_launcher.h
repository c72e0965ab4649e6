// Starts the file manager, never from the program folder.
#pragma once

#include <string>

#include <windows.h>

#include "platform/shell_launcher.h"

namespace tavrel::win32 {

class Win32ShellLauncher final : public ShellLauncher {
public:
    std::string launch(const std::string& commandLine, ShowStyle style) override;
};

// The program to start for a command line: a bare program name is looked up
// in the Windows directory, then the system directory, never in the program
// folder or the current directory.
std::wstring launchTarget(const std::wstring& commandLine);

}  // namespace tavrel::win32
