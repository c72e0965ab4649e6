#include "tests/support/message_box.h"

#include <vector>

#include "tests/support/screen.h"
#include "tests/support/window_search.h"

namespace e2e {

namespace {

// Pixels of `icon` drawn on `background`, `size` square, row by row.
std::vector<COLORREF> iconPixels(HICON icon, COLORREF background, int size) {
    return captureDrawing(size, size, [&](HDC dc) {
        RECT r{0, 0, size, size};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }).pixels;
}

// Which system icon the message box shows, compared by what is on screen:
// icon handles are not shared between processes under Wine.
int identifyIcon(HWND iconControl) {
    RECT r;
    GetWindowRect(iconControl, &r);
    const int size = GetSystemMetrics(SM_CXICON);
    const std::vector<COLORREF> seen = captureScreen({r.left, r.top, r.left + size, r.top + size}).pixels;
    if (seen.empty()) return 0;
    const COLORREF background = seen.front();
    struct Candidate {
        int number;
        LPCWSTR id;
    } candidates[] = {{16, IDI_HAND}, {48, IDI_EXCLAMATION}, {64, IDI_ASTERISK}};
    int best = 0;
    std::size_t bestDiff = seen.size();
    for (const auto& c : candidates) {
        std::vector<COLORREF> expected = iconPixels(LoadIconW(nullptr, c.id), background, size);
        std::size_t diff = 0;
        for (std::size_t i = 0; i < seen.size(); ++i) diff += seen[i] != expected[i];
        if (diff < bestDiff) {
            bestDiff = diff;
            best = c.number;
        }
    }
    return bestDiff * 10 < seen.size() ? best : 0;
}

struct BoxParts {
    HWND icon = nullptr;
    HWND text = nullptr;
    std::size_t longest = 0;
};

BOOL CALLBACK readBoxChild(HWND w, LPARAM param) {
    auto* parts = reinterpret_cast<BoxParts*>(param);
    if (_wcsicmp(className(w).c_str(), L"Static") != 0) return TRUE;
    LONG style = GetWindowLongW(w, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
        parts->icon = w;
    } else {
        std::wstring t = windowText(w);
        if (t.size() >= parts->longest) {
            parts->longest = t.size();
            parts->text = w;
        }
    }
    return TRUE;
}

const std::wstring kDialogClass = L"#32770";

}  // namespace

MessageBoxSeen takeMessageBox(const App& app, Millis timeout) {
    MessageBoxSeen seen;
    HWND box = waitForTopLevel(app.pid(), kDialogClass, std::nullopt, timeout);
    if (!box) return seen;
    seen.hwnd = box;
    seen.caption = windowText(box);
    BoxParts parts;
    // The box may still be laying itself out; wait for its text to arrive.
    waitUntil(
        [&] {
            parts = BoxParts{};
            EnumChildWindows(box, readBoxChild, reinterpret_cast<LPARAM>(&parts));
            return parts.text != nullptr && parts.longest > 0;
        },
        10s);
    if (parts.text) seen.text = windowText(parts.text);
    if (parts.icon) {
        // Let it paint before its pixels are read.
        answers(box, 5s);
        RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(100);
        seen.icon = identifyIcon(parts.icon);
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10s);
    return seen;
}

bool noMessageBox(const App& app) { return findTopLevel(app.pid(), kDialogClass) == nullptr; }

}  // namespace e2e
