// FrmPreview: draws the keystroke list as the path it walks.
#pragma once

#include <windows.h>

#include "core/path_model.h"

namespace tavrel::win32 {

// Shows the preview modally over `owner`; returns when it is closed,
// false when the program is ending.
bool runPreviewWindow(HINSTANCE instance, HWND owner, const PathModel& list);

}  // namespace tavrel::win32
