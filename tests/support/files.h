// Paths and whole files, at any path length and in any script: what the
// tests, the benchmarks and the receiving dialog's self-test write and read.
#pragma once

#include <string>

namespace e2e {

// Through the ANSI code page, as the program shows list entries.
std::wstring widen(const std::string& s);
std::string narrow(const std::wstring& s);

// The Linux path of a Windows path, or empty when not running under Wine.
std::string unixPath(const std::wstring& windowsPath);

// A path the file functions take at any length: beyond MAX_PATH in its
// "\\?\" form, which Windows needs without the long-path policy.
std::wstring anyLength(const std::wstring& path);

// The folder of the running program, without a closing backslash: the
// programs a test starts are copied beside it by the build.
std::wstring folderOfThisProgram();

// A new, empty file in the temporary folder; throws when none can be made.
std::wstring newTempFile();

// Whole files at any path length. Reading shares every access, so a file
// another process keeps open for writing (a log) can still be read.
void writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path, bool* exists = nullptr);

// Removes a folder with everything in it, read-only files included.
void deleteTree(const std::wstring& folder);

}  // namespace e2e
