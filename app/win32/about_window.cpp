#include "app/win32/about_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/about_layout.h"
#include "app/open_in_explorer.h"
#include "app/version_line.h"
#include "app/win32/controls.h"
#include "app/win32/resource_ids.h"
#include "app/win32/window.h"
#include "app/win32/window_support.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TavrelAbout";
// A tool window's caption is small and carries the close box only.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr COLORREF kBackground = RGB(192, 192, 192);
constexpr COLORREF kLinkText = RGB(0, 0, 255);
constexpr COLORREF kLabelText = RGB(0, 0, 0);
// The picture's own size; it is drawn at this size times dpi/96.
constexpr int kPictureWidth = 128, kPictureHeight = 69;

std::wstring windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

// Top-left corner for a window of outer `size` centred on `owner`. The owner
// is hidden while About shows, but its place still counts; the result is kept
// on the owner's monitor so About never opens partly off screen.
POINT centredOn(HWND owner, SIZE size) {
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &around);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT work = around;
    if (GetMonitorInfoW(MonitorFromRect(&around, MONITOR_DEFAULTTONEAREST), &monitor)) work = monitor.rcWork;
    LONG x = (around.left + around.right - size.cx) / 2;
    LONG y = (around.top + around.bottom - size.cy) / 2;
    x = std::max(work.left, std::min(x, work.right - size.cx));
    y = std::max(work.top, std::min(y, work.bottom - size.cy));
    return POINT{x, y};
}

class FrmAbout final : public Window {
public:
    FrmAbout(HINSTANCE instance, HWND owner, const AppFacts& facts, Win32Services& system)
        : instance_(instance), owner_(owner), facts_(facts), system_(system), fonts_(windowDpi(owner)) {}
    ~FrmAbout() override {
        if (background_) DeleteObject(background_);
        if (picture_) DeleteObject(picture_);
        // The cursor is a shared resource cursor: it is never destroyed.
    }

    bool create();

private:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void showVersion();
    void drawPicture(const DRAWITEMSTRUCT& item) const;
    void openLink();
    void dismiss();
    HWND control(AboutId id) const { return Window::control(static_cast<int>(id)); }

    HINSTANCE instance_;
    HWND owner_;
    const AppFacts& facts_;
    Win32Services& system_;
    ControlFonts fonts_;
    HWND toolTip_ = nullptr;
    int dpi_ = 96;
    HBRUSH background_ = nullptr;
    HBITMAP picture_ = nullptr;
    HCURSOR hand_ = nullptr;
};

bool FrmAbout::create() {
    dpi_ = windowDpi(owner_);
    background_ = CreateSolidBrush(kBackground);
    picture_ = static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(IDB_ABOUT), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    hand_ = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_POINTING_HAND));
    if (!hand_) hand_ = LoadCursorW(nullptr, IDC_HAND);

    SIZE size = windowSizeFor(twipsToPixels(kAboutClientWidthTwips, dpi_), twipsToPixels(kAboutClientHeightTwips, dpi_),
                              kStyle, kExStyle);
    // Owned by the main window: no taskbar button of its own, and always
    // above its owner. The grey is painted from the window's own brush.
    if (!createWindow(instance_, {kClassName}, widen(kAboutCaption), {kStyle, kExStyle, centredOn(owner_, size), size, owner_}))
        return false;
    if (initToolTips()) {
        // Owned by About, so it goes when About goes.
        toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                   instance_, nullptr);
    }
    createControls(std::span<const AboutControl>(kAboutControls), hwnd(), fonts_, toolTip_, dpi_);
    showVersion();
    SetFocus(control(AboutId::Command1));
    return true;
}

// Runs on every opening, before the window is first shown, so the version
// label never shows anything but the version line.
void FrmAbout::showVersion() {
    HWND label4 = control(AboutId::Label4);
    SetWindowTextW(label4, widen(versionLine(facts_.title, facts_.major, facts_.minor, facts_.revision)).c_str());
    sizeToText(label4);
}

// Centred at its own size (scaled with the dpi) rather than stretched: its
// box is 132 x 73 pixels at 96 dpi against the picture's 128 x 69, and
// stretching would blur the pixel art and skew it.
void FrmAbout::drawPicture(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, background_);
    if (!picture_) return;
    int width = MulDiv(kPictureWidth, dpi_, 96), height = MulDiv(kPictureHeight, dpi_, 96);
    int x = (item.rcItem.left + item.rcItem.right - width) / 2;
    int y = (item.rcItem.top + item.rcItem.bottom - height) / 2;
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, picture_);
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, x, y, width, height, source, 0, 0, kPictureWidth, kPictureHeight, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void FrmAbout::openLink() {
    openInExplorer(system_.shell, system_.notifier, narrow(windowText(control(AboutId::Label3))), ShowStyle::Maximized);
}

// Nothing is saved.
void FrmAbout::dismiss() { unload(); }

LRESULT FrmAbout::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(hwnd(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
            return 1;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            bool link = reinterpret_cast<HWND>(lParam) == control(AboutId::Label3);
            SetTextColor(dc, link ? kLinkText : kLabelText);
            SetBkColor(dc, kBackground);
            return reinterpret_cast<LRESULT>(background_);
        }
        case WM_CTLCOLORBTN:
            // Only the corners around the button's face show this brush.
            return reinterpret_cast<LRESULT>(background_);
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID == static_cast<UINT>(AboutId::Image1)) {
                drawPicture(item);
                return TRUE;
            }
            return FALSE;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == control(AboutId::Label3) && LOWORD(lParam) == HTCLIENT) {
                SetCursor(hand_);
                return TRUE;
            }
            return DefWindowProcW(hwnd(), msg, wParam, lParam);
        case WM_COMMAND: {
            auto id = static_cast<AboutId>(LOWORD(wParam));
            WORD code = HIWORD(wParam);
            // A click on the picture (STN_CLICKED) is ignored, whatever its
            // tool tip promises.
            if (id == AboutId::Command1 && code == BN_CLICKED) dismiss();
            else if (id == AboutId::Label3 && code == STN_CLICKED) openLink();
            return 0;
        }
        case DM_GETDEFID: return MAKELRESULT(static_cast<WORD>(AboutId::Command1), DC_HASDEFID);
        case WM_ACTIVATE:
            // Coming back to About puts the focus on "OK" again, the only
            // control that can hold it.
            if (LOWORD(wParam) != WA_INACTIVE) SetFocus(control(AboutId::Command1));
            return 0;
        case WM_SETFOCUS: SetFocus(control(AboutId::Command1)); return 0;
        default: return Window::handle(msg, wParam, lParam);
    }
}

}  // namespace

bool runAboutWindow(HINSTANCE instance, HWND owner, const AppFacts& facts, Win32Services& system) {
    FrmAbout about(instance, owner, facts, system);
    return !about.create() || runModal(about, owner);
}

}  // namespace tavrel::win32
