#include "app/win32/controls.h"

#include <string>

#include "app/win32/window_support.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

struct FontChoice {
    const wchar_t* face;  // nullptr: the system's message font
    int hundredthsOfPoint;
    bool underline;
};

constexpr FontChoice kFonts[] = {
    {nullptr, 0, false},                 // Message
    {L"MS Sans Serif", 825, false},     // Label
    {L"MS Sans Serif", 825, true},      // Link
    {L"Small Fonts", 675, false},       // SmallPrint
};

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
// optional on newer systems and absent from some Wine set-ups. With no face
// named, the message font itself, scaled from the system's dpi to ours.
HFONT createFont(const FontChoice& choice, int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font = metrics.lfMessageFont;
    if (!choice.face) {
        const int systemDpi = windowDpi(nullptr);
        if (systemDpi != dpi) font.lfHeight = MulDiv(font.lfHeight, dpi, systemDpi);
        return CreateFontIndirectW(&font);
    }
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

struct Look {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle;
};

Look lookOf(const ControlToMake& row) {
    switch (row.kind) {
        case ControlKind::CheckBox:
            return {L"BUTTON", static_cast<DWORD>((row.flags & kThreeState) ? BS_3STATE : BS_AUTOCHECKBOX), 0};
        case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::OptionButton: return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
        case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON, 0};
        // The default button is the one Enter presses.
        case ControlKind::DefaultButton: return {L"BUTTON", BS_DEFPUSHBUTTON, 0};
        case ControlKind::ListBox:
            return {L"LISTBOX", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT, WS_EX_CLIENTEDGE};
        case ControlKind::Label:
            // SS_LEFT wraps at word boundaries. A static without SS_NOTIFY is
            // transparent to the mouse, and a tool tip would never see it.
            return {L"STATIC", static_cast<DWORD>(SS_LEFT | SS_NOPREFIX | (row.toolTip.empty() ? 0 : SS_NOTIFY)), 0};
        case ControlKind::Picture: return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

ControlFonts::~ControlFonts() {
    for (HFONT font : fonts_)
        if (font) DeleteObject(font);
}

HFONT ControlFonts::of(FontRole role) {
    const auto i = static_cast<std::size_t>(role);
    if (!fonts_[i]) fonts_[i] = createFont(kFonts[i], dpi_);
    return fonts_[i];
}

HWND createControl(const ControlToMake& row, HWND parent, ControlFonts& fonts, HWND toolTips, int dpi) {
    const Look look = lookOf(row);
    DWORD style = WS_CHILD | WS_VISIBLE | look.style;
    if (row.flags & kTabStop) style |= WS_TABSTOP;
    if (row.flags & kGroupStart) style |= WS_GROUP;
    const TwipRect& r = row.clientRect;
    HWND child = CreateWindowExW(look.exStyle, look.cls, widen(row.caption).c_str(), style, twipsToPixels(r.left, dpi),
                                 twipsToPixels(r.top, dpi), twipsToPixels(r.width, dpi), twipsToPixels(r.height, dpi),
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!child) return nullptr;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.of(row.font)), FALSE);
    if (row.flags & kFitText) sizeToText(child);
    if (!row.toolTip.empty()) addToolTip(toolTips, parent, child, row.toolTip);
    return child;
}

// The short labels fit themselves to their text: the version line is far
// wider than the box it is given, and a link should only be clickable where
// its text is.
void sizeToText(HWND label) {
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), length + 1)));
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

}  // namespace tavrel::win32
