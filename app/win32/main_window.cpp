#include "app/win32/main_window.h"

#include <commctrl.h>

#include <exception>

#include "app/win32/window_support.h"
#include "app/win32/about_window.h"
#include "app/win32/preview_window.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TavrelMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

bool insideFrame2(ControlId id) { return controlSpec(id).container == ControlId::Frame2; }

constexpr ControlId kModes[] = {ControlId::OptMode0, ControlId::OptMode1, ControlId::OptMode2};

}  // namespace

FrmTavrel::FrmTavrel(const AppFacts& facts, Win32Services& system)
    : facts_(facts), system_(system), services_(system.services()), handlers_(*this, *this, services_, *this) {}

FrmTavrel::~FrmTavrel() {
    if (font_) DeleteObject(font_);
}

bool FrmTavrel::create(HINSTANCE instance) {
    instance_ = instance;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return false;

    dpi_ = windowDpi(nullptr);
    SIZE size = windowSizeFor(twipsToPixels(kMainClientWidthTwips, dpi_), twipsToPixels(kMainClientHeightTwips, dpi_),
                              kStyle, 0);
    // Centred on the screen.
    int x = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    hwnd_ = CreateWindowExW(0, kClassName, widen(kMainCaption).c_str(), kStyle, x, y, size.cx, size.cy, nullptr,
                            nullptr, instance, this);
    if (!hwnd_) return false;
    system_.notifier.owner = hwnd_;
    system_.notifier.title = facts_.title.empty() ? "Tavrel" : facts_.title;
    system_.order.window = hwnd_;
    system_.stopKey.window = hwnd_;
    createControls();

    handlers_.Form_Load(facts_.folder);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    createToolTips();
    return true;
}

// After the window is shown: nothing of them is visible before the mouse
// rests on a control, and they cost start-up a tenth of its time under Wine.
void FrmTavrel::createToolTips() {
    if (!initToolTips()) return;
    // Not owned by the main window: under Wine an owned topmost tool tip
    // takes the main window's own topmost place away from it.
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, nullptr);
    for (const ControlSpec& row : mainWindowControls())
        if (!row.toolTip.empty()) addToolTip(toolTip_, hwnd_, control(row.id), row.toolTip);
}

void FrmTavrel::createControls() {
    font_ = createMessageFont(dpi_);
    for (const ControlSpec& row : mainWindowControls()) {
        const wchar_t* cls = L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE;
        // Every control starts its own group, except the option buttons after
        // the first, so the arrow keys move only between the speed options.
        if (row.id != ControlId::OptMode1 && row.id != ControlId::OptMode2) style |= WS_GROUP;
        DWORD exStyle = 0;
        switch (row.kind) {
            case ControlKind::CheckBox:
                style |= WS_TABSTOP | (row.id == ControlId::ChkNoSound ? BS_3STATE : BS_AUTOCHECKBOX);
                break;
            case ControlKind::Frame: style |= BS_GROUPBOX; break;
            case ControlKind::OptionButton:
                style |= BS_AUTORADIOBUTTON | (row.id == ControlId::OptMode0 ? WS_TABSTOP : 0);
                break;
            case ControlKind::Button: style |= WS_TABSTOP | BS_PUSHBUTTON; break;
            case ControlKind::ListBox:
                cls = L"LISTBOX";
                style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
                exStyle = WS_EX_CLIENTEDGE;
                break;
        }
        TwipRect r = clientRectTwips(row);
        HWND child = CreateWindowExW(exStyle, cls, widen(row.caption).c_str(), style, twipsToPixels(r.left, dpi_),
                                     twipsToPixels(r.top, dpi_), twipsToPixels(r.width, dpi_),
                                     twipsToPixels(r.height, dpi_), hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    // Start values: "Surpressed (recommended)" selected, no click sound.
    CheckDlgButton(hwnd_, static_cast<int>(ControlId::OptMode1), BST_CHECKED);
    CheckDlgButton(hwnd_, static_cast<int>(ControlId::ChkNoSound), BST_CHECKED);
}

LRESULT CALLBACK FrmTavrel::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<FrmTavrel*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<FrmTavrel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->handle(msg, wParam, lParam);
}

LRESULT FrmTavrel::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (lParam) onCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_HOTKEY: system_.stopKey.onHotKey(wParam); return 0;
        case WM_CLOSE: unloadAndEnd(); return 0;
        case WM_ENDSESSION:
            if (wParam) unloadAndEnd();
            return 0;
        default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

void FrmTavrel::onCommand(ControlId id, WORD code) {
    if (code != BN_CLICKED) return;
    try {
        switch (id) {
            case ControlId::Command1: handlers_.Command1_Click(); break;
            case ControlId::Command2: handlers_.Command2_Click(); break;
            case ControlId::Command3: handlers_.Command3_Click(); break;
            case ControlId::BtnLoad: handlers_.BtnLoad_Click(); break;
            case ControlId::BtnSave: handlers_.BtnSave_Click(); break;
            case ControlId::BtnPreview: handlers_.BtnPreview_Click(); break;
            case ControlId::Command4: handlers_.Command4_Click(); break;
            case ControlId::Command5: handlers_.Command5_Click(); break;
            case ControlId::ChkOnTop: handlers_.ChkOnTop_Click(); break;
            case ControlId::ChkNoSound:
                // Only the settings file can give the third state; a click
                // moves between checked and unchecked.
                setNoSound(noSound() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
                break;
            default: break;
        }
    } catch (const std::exception& failure) {
        // A failing handler is reported and the program keeps running, with
        // the list the user has built up.
        services_.notifier.message(std::string("The action failed: ") + failure.what(), Icon::Stop);
    }
}

void FrmTavrel::unloadAndEnd() {
    handlers_.Form_Unload();
    // The program ends here, also when the close came from inside a
    // recording or playback loop: that loop must never resume.
    ExitProcess(0);
}

void FrmTavrel::clear() {
    entries_.clear();
    SendMessageW(control(ControlId::List1), LB_RESETCONTENT, 0, 0);
}

bool FrmTavrel::append(const std::string& entry) {
    if (count() >= kListCapacity) return false;
    entries_.push_back(entry);
    SendMessageW(control(ControlId::List1), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(listEntryDisplay(entry).c_str()));
    return true;
}

std::size_t FrmTavrel::assign(const std::vector<std::string>& entries) {
    HWND box = control(ControlId::List1);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    clear();
    std::size_t taken = entries.size() < kListCapacity ? entries.size() : kListCapacity;
    SendMessageW(box, LB_INITSTORAGE, taken, taken * 8);
    entries_.assign(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(taken));
    // Straight to the list box's own procedure, past the subclasses of the
    // tool tip and of the visual styles, which only watch the mouse and
    // painting: under Wine each of them asks the server for a window
    // property on every message, and with them a full list took 11 s
    // instead of 0.1 s. The box is looked up once for the same reason.
    const auto listBoxProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(box, GCLP_WNDPROC));
    for (const std::string& entry : entries_)
        CallWindowProcW(listBoxProc, box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(listEntryDisplay(entry).c_str()));
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    return taken;
}

void FrmTavrel::select(int index) { SendMessageW(control(ControlId::List1), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void FrmTavrel::setActionsEnabled(bool enabled) {
    for (const ControlSpec& row : mainWindowControls())
        if (row.id == ControlId::Frame2 || insideFrame2(row.id)) EnableWindow(control(row.id), enabled);
}

void FrmTavrel::setPlayCaption(std::string_view caption) {
    SetWindowTextW(control(ControlId::Command3), widen(caption).c_str());
}

bool FrmTavrel::modeSelected(int index) const {
    return IsDlgButtonChecked(hwnd_, static_cast<int>(kModes[index])) == BST_CHECKED;
}

void FrmTavrel::selectMode(int index) {
    for (int k = 0; k < 3; ++k)
        CheckDlgButton(hwnd_, static_cast<int>(kModes[k]), k == index ? BST_CHECKED : BST_UNCHECKED);
}

int FrmTavrel::noSound() const { return static_cast<int>(IsDlgButtonChecked(hwnd_, static_cast<int>(ControlId::ChkNoSound))); }

void FrmTavrel::setNoSound(int value) { CheckDlgButton(hwnd_, static_cast<int>(ControlId::ChkNoSound), static_cast<UINT>(value)); }

int FrmTavrel::onTop() const { return static_cast<int>(IsDlgButtonChecked(hwnd_, static_cast<int>(ControlId::ChkOnTop))); }

void FrmTavrel::setOnTop(int value) {
    if (value == onTop()) return;
    CheckDlgButton(hwnd_, static_cast<int>(ControlId::ChkOnTop), static_cast<UINT>(value));
    handlers_.ChkOnTop_Click();
}

}  // namespace tavrel::win32

namespace tavrel::win32 {

void FrmTavrel::showPreview() { runPreviewWindow(instance_, hwnd_, *this); }

void FrmTavrel::showAbout() {
    ShowWindow(hwnd_, SW_HIDE);
    runAboutWindow(instance_, hwnd_, facts_, system_);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

}  // namespace tavrel::win32
