// What the program knows about itself: its folder, title and version.
#pragma once

#include <string>

namespace tavrel::win32 {

struct AppFacts {
    std::string folder;  // UTF-8; no trailing backslash except at a drive root
    std::string title;
    int major = 0, minor = 0, revision = 0;
};

AppFacts appFacts();

// The folder part of a program path: "C:\a\b.exe" -> "C:\a", "C:\b.exe" -> "C:\".
std::wstring folderOfProgram(const std::wstring& programPath);

}  // namespace tavrel::win32
