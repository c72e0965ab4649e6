#include "app/win32/main_window.h"

#include <commctrl.h>

#include <exception>
#include <new>

#include "app/win32/window_support.h"
#include "app/win32/about_window.h"
#include "app/win32/preview_window.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TavrelMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// Empties the box and adds every text; false when the box runs out of room.
bool fillListBox(HWND box, const std::vector<std::wstring>& texts) {
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    SendMessageW(box, LB_INITSTORAGE, texts.size(), texts.size() * 8);
    // Straight to the list box's own procedure, past the subclasses of the
    // tool tip and of the visual styles, which only watch the mouse and
    // painting: under Wine each of them asks the server for a window
    // property on every message, and with them a full list took 11 s
    // instead of 0.1 s. The box is looked up once for the same reason.
    const auto listBoxProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(box, GCLP_WNDPROC));
    for (const std::wstring& text : texts)
        if (CallWindowProcW(listBoxProc, box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0)
            return false;
    return true;
}

bool insideFrame2(ControlId id) { return controlSpec(id).container == ControlId::Frame2; }

constexpr ControlId kModes[] = {ControlId::OptMode0, ControlId::OptMode1, ControlId::OptMode2};

}  // namespace

FrmTavrel::FrmTavrel(const AppFacts& facts, Win32Services& system)
    : facts_(facts), system_(system), services_(system.services()), handlers_(*this, *this, services_, *this) {}

bool FrmTavrel::create(HINSTANCE instance) {
    instance_ = instance;
    const Class windowClass{
        kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                      GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR)),
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR))};

    dpi_ = windowDpi(nullptr);
    SIZE size = windowSizeFor(twipsToPixels(kMainClientWidthTwips, dpi_), twipsToPixels(kMainClientHeightTwips, dpi_),
                              kStyle, 0);
    // Centred on the screen.
    const POINT at{(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
    if (!createWindow(instance, windowClass, widen(kMainCaption), {kStyle, 0, at, size, nullptr})) return false;
    system_.notifier.attach(hwnd(), facts_.title);
    system_.order.window = hwnd();
    system_.stopKey.window = hwnd();
    createControls();

    handlers_.Form_Load(facts_.folder);
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
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
        if (!row.toolTip.empty()) addToolTip(toolTip_, hwnd(), control(row.id), row.toolTip);
}

void FrmTavrel::createControls() {
    fonts_.emplace(dpi_);
    // Tool tips come once the window shows (createToolTips).
    win32::createControls(mainWindowControls(), hwnd(), *fonts_, nullptr, dpi_);
    // Start values: "Surpressed (recommended)" selected, no click sound.
    CheckDlgButton(hwnd(), static_cast<int>(ControlId::OptMode1), BST_CHECKED);
    CheckDlgButton(hwnd(), static_cast<int>(ControlId::ChkNoSound), BST_CHECKED);
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
        default: return DefWindowProcW(hwnd(), msg, wParam, lParam);
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
    // Every recording, playback or modal loop around this call returns at
    // its next pump without any further effect, so none of them resumes.
    endProgram();
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
    const std::size_t taken = entries.size() < kListCapacity ? entries.size() : kListCapacity;
    // Everything that needs memory comes first: a list too large to hold
    // throws here, with the shown list, its selection and the box untouched.
    std::vector<std::string> kept(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(taken));
    std::vector<std::wstring> shown;
    shown.reserve(taken);
    for (const std::string& entry : kept) shown.push_back(listEntryDisplay(entry));

    const LRESULT selected = SendMessageW(box, LB_GETCURSEL, 0, 0);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    if (!fillListBox(box, shown)) {
        // The box could not take them all: it shows the old list again.
        std::vector<std::wstring> old;
        old.reserve(entries_.size());
        for (const std::string& entry : entries_) old.push_back(listEntryDisplay(entry));
        fillListBox(box, old);
        SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        SendMessageW(box, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(box, nullptr, TRUE);
        throw std::bad_alloc();
    }
    entries_.swap(kept);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    return taken;
}

void FrmTavrel::select(int index) { SendMessageW(control(ControlId::List1), LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void FrmTavrel::setBusy(bool busy) {
    for (const ControlSpec& row : mainWindowControls())
        if (row.id == ControlId::Frame2 || insideFrame2(row.id)) EnableWindow(control(row.id), !busy);
}

void FrmTavrel::setPlayCaption(std::string_view caption) {
    SetWindowTextW(control(ControlId::Command3), widen(caption).c_str());
}

void FrmTavrel::showStopKeyMissing(bool missing) {
    SetWindowTextW(hwnd(), widen(missing ? kStopKeyMissingCaption : kMainCaption).c_str());
}

bool FrmTavrel::modeSelected(int index) const {
    return IsDlgButtonChecked(hwnd(), static_cast<int>(kModes[index])) == BST_CHECKED;
}

void FrmTavrel::selectMode(int index) {
    for (int k = 0; k < 3; ++k)
        CheckDlgButton(hwnd(), static_cast<int>(kModes[k]), k == index ? BST_CHECKED : BST_UNCHECKED);
}

int FrmTavrel::noSound() const { return static_cast<int>(IsDlgButtonChecked(hwnd(), static_cast<int>(ControlId::ChkNoSound))); }

void FrmTavrel::setNoSound(int value) { CheckDlgButton(hwnd(), static_cast<int>(ControlId::ChkNoSound), static_cast<UINT>(value)); }

int FrmTavrel::onTop() const { return static_cast<int>(IsDlgButtonChecked(hwnd(), static_cast<int>(ControlId::ChkOnTop))); }

void FrmTavrel::setOnTop(int value) {
    if (value == onTop()) return;
    CheckDlgButton(hwnd(), static_cast<int>(ControlId::ChkOnTop), static_cast<UINT>(value));
    handlers_.ChkOnTop_Click();
}

}  // namespace tavrel::win32

namespace tavrel::win32 {

void FrmTavrel::showPreview() { runPreviewWindow(instance_, hwnd(), *this); }

void FrmTavrel::showAbout() {
    ShowWindow(hwnd(), SW_HIDE);
    if (!runAboutWindow(instance_, hwnd(), facts_, system_)) return;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

}  // namespace tavrel::win32
