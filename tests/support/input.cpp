#include "tests/support/input.h"

namespace e2e {

namespace {

void mouseButton(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
}

POINT centreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

void pressKey(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    bool extended = vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN;
    in.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (down ? 0 : KEYEVENTF_KEYUP);
    SendInput(1, &in, sizeof in);
}

void tapKey(WORD vk) {
    pressKey(vk, true);
    pressKey(vk, false);
}

void clickCentre(HWND window) {
    POINT p = centreOf(window);
    SetCursorPos(p.x, p.y);
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    mouseButton(MOUSEEVENTF_LEFTUP);
}

void hover(HWND window) {
    POINT p = centreOf(window);
    SetCursorPos(p.x - 1, p.y);
    SetCursorPos(p.x, p.y);
}

}  // namespace e2e
