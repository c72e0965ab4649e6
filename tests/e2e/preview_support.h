// What the Preview tests share: opening and closing the window, sizing its
// client area, and comparing what the screen shows with the path the
// geometry says it must show.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/driver.h"

namespace e2e {

inline const std::vector<std::string> kShortWalk = {"UP", "UP", "RIGHT", "DOWN", "LEFT", "LEFT"};

COLORREF background();
COLORREF ink();
// #RRGGBB, for messages.
std::string hex(COLORREF c);

HWND openPreview(const App& app);
// Loads `entries` and opens the Preview on them; null, with the failure
// recorded, when either went wrong.
HWND previewOf(const ProgramFolder& folder, const App& app, const std::vector<std::string>& entries);
void closePreview(const App& app, HWND preview);
// Gives the window a client area of this size near the top left of the
// screen and waits until it has it.
::testing::AssertionResult resized(HWND window, int width, int height);

// Waits until the screen shows `entries` drawn in the preview at its current
// size; on failure says how the last look differed.
::testing::AssertionResult showsPath(HWND preview, const std::vector<std::string>& entries);

}  // namespace e2e
