// The foreground window, as playback's focus guard sees it.
#pragma once

#include <windows.h>

#include "platform/focus_watch.h"

namespace tavrel::win32 {

class Win32FocusWatch final : public FocusWatch {
public:
    WindowId foreground() override;
    bool otherProgram(WindowId window) override;
    bool runsHigher(WindowId window) override;
};

}  // namespace tavrel::win32
