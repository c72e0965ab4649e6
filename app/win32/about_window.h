// FrmAbout: name, version, link and description.
#pragma once

#include <windows.h>

#include "platform/win32/app_facts.h"
#include "platform/win32/services.h"

namespace tavrel::win32 {

// Shows About modally; returns when it is closed,
// false when the program is ending.
bool runAboutWindow(HINSTANCE instance, HWND owner, const AppFacts& facts, Win32Services& system);

}  // namespace tavrel::win32
