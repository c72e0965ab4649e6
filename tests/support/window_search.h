// Finding and reading windows of other processes. Every read is a message
// with a time limit, so a program that hangs fails the test instead of
// hanging it.
#pragma once

#include <optional>
#include <string>

#include <windows.h>

#include "tests/support/wait.h"

namespace e2e {

std::wstring className(HWND window);
std::wstring windowText(HWND window);

// A visible top-level window of process `pid` (of any process but this one
// when 0) with this class and, when given, this caption; null when none.
HWND findTopLevel(DWORD pid, const std::wstring& cls, const std::optional<std::wstring>& caption = std::nullopt);
HWND waitForTopLevel(DWORD pid, const std::wstring& cls, const std::optional<std::wstring>& caption = std::nullopt,
                     Millis timeout = kWait);

// A child of this class (any case) and, unless `caption` is empty, caption.
HWND findChild(HWND parent, const std::wstring& cls, const std::wstring& caption = L"");

// The window the thread owning `window` has the keyboard focus on.
HWND focusOfThread(HWND window);

// Left, top, right, bottom of a child in its parent's client coordinates.
RECT childRect(HWND child);
SIZE clientSize(HWND window);

// True once `window`'s thread has handled everything sent to it before.
bool answers(HWND window, Millis timeout = kWait);

// Gives `window` the foreground and the keyboard focus.
bool focus(HWND window);

}  // namespace e2e
