// Conversions between the logic's text and the UTF-16 of the system, and the
// system's own descriptions of failures.
//
// The logic's text, paths included, is UTF-8, so a folder name no ANSI code
// page can hold still names that folder and no look-alike of it. Keystroke
// entries are the exception: they are the list file's raw ANSI bytes, and
// only their display goes through the ANSI code page (listEntryDisplay).
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace tavrel::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// A path for the file functions: long ones get the "\\?\" form, which
// Windows without the long-path policy needs beyond MAX_PATH characters.
std::wstring filePath(std::string_view utf8);

// How a keystroke entry's bytes appear in the list box: each byte as the ANSI
// code page reads it, and a NUL byte as U+2400 (the symbol for null), so an
// entry is shown in full and a hidden byte cannot make "UP" look playable.
std::wstring listEntryDisplay(std::string_view ansiBytes);

// The system's description of an error code, without the trailing line end.
std::string errorText(DWORD code);
// The description of GetLastError(), read at once.
std::string lastErrorText();

}  // namespace tavrel::win32
