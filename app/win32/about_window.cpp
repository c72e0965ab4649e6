#include "app/win32/about_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/version_line.h"
#include "app/win32/about_layout.h"
#include "app/win32/resource_ids.h"
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

struct FontChoice {
    const wchar_t* face;
    int hundredthsOfPoint;
    bool underline;
};
constexpr FontChoice kLabelFont{L"MS Sans Serif", 825, false};
constexpr FontChoice kLinkFont{L"MS Sans Serif", 825, true};
constexpr FontChoice kDescriptionFont{L"Small Fonts", 675, false};

int CALLBACK noteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontFamilyInstalled(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, noteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The named face at its point size, or the system's message font family at
// that size where the face is not installed: the old bitmap faces are
// optional on newer systems and absent from some Wine set-ups.
HFONT createFont(const FontChoice& choice, int dpi) {
    LOGFONTW font{};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
    font.lfHeight = -MulDiv(choice.hundredthsOfPoint, dpi, 7200);
    font.lfWidth = 0;
    font.lfEscapement = 0;
    font.lfOrientation = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfUnderline = choice.underline ? TRUE : FALSE;
    font.lfStrikeOut = FALSE;
    if (fontFamilyInstalled(choice.face)) {
        lstrcpynW(font.lfFaceName, choice.face, LF_FACESIZE);
        font.lfCharSet = DEFAULT_CHARSET;
    }
    return CreateFontIndirectW(&font);
}

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

class FrmAbout {
public:
    FrmAbout(HINSTANCE instance, HWND owner, const AppFacts& facts, Win32Services& system)
        : instance_(instance), owner_(owner), facts_(facts), system_(system) {}
    ~FrmAbout() {
        for (HFONT font : {labelFont_, linkFont_, descriptionFont_})
            if (font) DeleteObject(font);
        if (background_) DeleteObject(background_);
        if (picture_) DeleteObject(picture_);
        // The cursor is a shared resource cursor: it is never destroyed.
    }
    FrmAbout(const FrmAbout&) = delete;
    FrmAbout& operator=(const FrmAbout&) = delete;

    bool create();
    HWND hwnd() const { return hwnd_; }
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void Form_Load();
    HWND createControl(const AboutControl& row);
    void sizeToText(HWND label);
    void drawPicture(const DRAWITEMSTRUCT& item) const;
    void Label3_Click();
    void Command1_Click();
    void unload();
    HWND control(AboutId id) const { return GetDlgItem(hwnd_, static_cast<int>(id)); }

    HINSTANCE instance_;
    HWND owner_;
    const AppFacts& facts_;
    Win32Services& system_;
    HWND hwnd_ = nullptr;
    HWND toolTip_ = nullptr;
    int dpi_ = 96;
    HBRUSH background_ = nullptr;
    HFONT labelFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    HFONT descriptionFont_ = nullptr;
    HBITMAP picture_ = nullptr;
    HCURSOR hand_ = nullptr;
};

bool registerAboutClass(HINSTANCE instance) {
    static const bool registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = FrmAbout::windowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // The grey is painted from the window's own brush.
        wc.hbrBackground = nullptr;
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

bool FrmAbout::create() {
    if (!registerAboutClass(instance_)) return false;

    dpi_ = windowDpi(owner_);
    background_ = CreateSolidBrush(kBackground);
    labelFont_ = createFont(kLabelFont, dpi_);
    linkFont_ = createFont(kLinkFont, dpi_);
    descriptionFont_ = createFont(kDescriptionFont, dpi_);
    picture_ = static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(IDB_ABOUT), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    hand_ = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_POINTING_HAND));
    if (!hand_) hand_ = LoadCursorW(nullptr, IDC_HAND);

    SIZE size = windowSizeFor(twipsToPixels(kAboutClientWidthTwips, dpi_), twipsToPixels(kAboutClientHeightTwips, dpi_),
                              kStyle, kExStyle);
    POINT at = centredOn(owner_, size);
    // Owned by the main window: no taskbar button of its own, and always
    // above its owner.
    hwnd_ = CreateWindowExW(kExStyle, kClassName, widen(kAboutCaption).c_str(), kStyle, at.x, at.y, size.cx, size.cy,
                            owner_, nullptr, instance_, this);
    if (!hwnd_) return false;
    if (initToolTips()) {
        // Owned by About, so it goes when About goes.
        toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   instance_, nullptr);
    }
    for (const AboutControl& row : kAboutControls) {
        HWND child = createControl(row);
        if (child && !row.toolTip.empty()) addToolTip(toolTip_, hwnd_, child, row.toolTip);
    }
    Form_Load();
    SetFocus(control(AboutId::Command1));
    return true;
}

HWND FrmAbout::createControl(const AboutControl& row) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX;
    HFONT font = labelFont_;
    switch (row.kind) {
        case AboutKind::Picture:
            // SS_NOTIFY: a static without it is transparent to the mouse, and
            // its tool tip would never see the pointer.
            style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY;
            break;
        case AboutKind::LinkLabel:
            style |= SS_LEFT | SS_NOTIFY;
            font = linkFont_;
            break;
        case AboutKind::Label: style |= SS_LEFT | SS_NOTIFY; break;
        case AboutKind::Description:
            style |= SS_LEFT;  // SS_LEFT wraps at word boundaries
            font = descriptionFont_;
            break;
        case AboutKind::Button:
            cls = L"BUTTON";
            // The only control that takes the focus, and the default button,
            // so Enter presses it.
            style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON;
            break;
    }
    HWND child = CreateWindowExW(0, cls, widen(row.caption).c_str(), style, twipsToPixels(row.rect.left, dpi_),
                                 twipsToPixels(row.rect.top, dpi_), twipsToPixels(row.rect.width, dpi_),
                                 twipsToPixels(row.rect.height, dpi_), hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
    if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (child && (row.kind == AboutKind::LinkLabel || row.kind == AboutKind::Label)) sizeToText(child);
    return child;
}

// The short labels fit themselves to their text: the version line is far
// wider than the box it is given, and the link should only be clickable where
// its text is.
void FrmAbout::sizeToText(HWND label) {
    std::wstring text = windowText(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    // A pixel to spare on the right: some fonts draw the last glyph's
    // overhang just past the measured extent.
    SetWindowPos(label, nullptr, 0, 0, extent.cx + 1, metrics.tmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Runs on every opening, before the window is first shown, so the version
// label never shows anything but the version line.
void FrmAbout::Form_Load() {
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

void FrmAbout::Label3_Click() {
    std::string commandLine = "explorer.exe \"" + narrow(windowText(control(AboutId::Label3))) + "\"";
    std::string error = system_.shell.launch(commandLine, ShowStyle::Maximized);
    if (error.empty()) return;
    // Owned by About while it shows, so the box comes up over About, not
    // over the hidden main window.
    HWND previousOwner = system_.notifier.owner;
    system_.notifier.owner = hwnd_;
    system_.notifier.message("The file manager could not be started.\n" + error, Icon::Stop);
    system_.notifier.owner = previousOwner;
}

// Nothing is saved.
void FrmAbout::Command1_Click() { unload(); }

void FrmAbout::unload() {
    // The owner first, so the system hands the activation back to it.
    if (owner_) EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
}

LRESULT CALLBACK FrmAbout::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<FrmAbout*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<FrmAbout*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->handle(msg, wParam, lParam);
}

LRESULT FrmAbout::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(hwnd_, &client);
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
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
        case WM_COMMAND: {
            auto id = static_cast<AboutId>(LOWORD(wParam));
            WORD code = HIWORD(wParam);
            // A click on the picture (STN_CLICKED) is ignored, whatever its
            // tool tip promises.
            if (id == AboutId::Command1 && code == BN_CLICKED) Command1_Click();
            else if (id == AboutId::Label3 && code == STN_CLICKED) Label3_Click();
            return 0;
        }
        case DM_GETDEFID: return MAKELRESULT(static_cast<WORD>(AboutId::Command1), DC_HASDEFID);
        case WM_ACTIVATE:
            // Coming back to About puts the focus on "OK" again, the only
            // control that can hold it.
            if (LOWORD(wParam) != WA_INACTIVE) SetFocus(control(AboutId::Command1));
            return 0;
        case WM_SETFOCUS: SetFocus(control(AboutId::Command1)); return 0;
        case WM_CLOSE: unload(); return 0;
        default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

}  // namespace

void runAboutWindow(HINSTANCE instance, HWND owner, const AppFacts& facts, Win32Services& system) {
    FrmAbout about(instance, owner, facts, system);
    if (about.create()) runModal(about.hwnd(), owner);
}

}  // namespace tavrel::win32
