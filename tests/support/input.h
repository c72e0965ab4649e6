// Keyboard and mouse input through SendInput, as a user's hands give it:
// it reaches whichever window has the focus, and the global key state.
#pragma once

#include <windows.h>

namespace e2e {

// Arrows go as extended keys; without the flag they arrive as the keypad's.
void pressKey(WORD vk, bool down);
void tapKey(WORD vk);

// Moves the pointer to the centre of `window` and clicks there.
void clickCentre(HWND window);
// Moves the pointer onto the centre of `window` so that tool tips see it arrive.
void hover(HWND window);

}  // namespace e2e
