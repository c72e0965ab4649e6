// xdotool, started from inside Wine, for what only the X side can do.
#pragma once

#include <string>

#include <windows.h>

#include "tests/support/program.h"

namespace e2e {

// Runs `xdotool ARGS` on the X display Wine draws on and waits for it to end,
// keeping its files in `folder`. Returns an empty string on success, else what
// went wrong; `output` receives what xdotool printed.
std::string xdotool(const ProgramFolder& folder, const std::string& args, std::string* output = nullptr);

// The X window Wine made for a top-level window, 0 when it has none.
unsigned long long xWindowOf(HWND window);

}  // namespace e2e
