// Conversions between the program's ANSI text and the UTF-16 of the window
// system, and the system's own descriptions of failures.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace tavrel::win32 {

std::wstring widen(std::string_view ansi);
std::string narrow(std::wstring_view wide);
// The system's description of an error code, without the trailing line end.
std::string errorText(DWORD code);
// The description of GetLastError(), read at once.
std::string lastErrorText();

}  // namespace tavrel::win32
