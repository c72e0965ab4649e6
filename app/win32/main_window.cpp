#include "app/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <iterator>
#include <new>

#include "app/main_commands.h"
#include "app/win32/commands.h"
#include "app/win32/window_support.h"
#include "app/win32/about_window.h"
#include "app/win32/preview_window.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TavrelMainWindow";
constexpr UINT_PTR kStepTimer = 1;
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

}  // namespace

FrmTavrel::FrmTavrel(const AppFacts& facts, Win32Services& system)
    : facts_(facts), system_(system), services_(system.services()), handlers_(path_, *this, services_, *this, &dialogWatch_) {}

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
    path_.setView(this);
    accelerators_ = ctrlAccelerators(listMenuCommands());
    setAccelerators(hwnd(), accelerators_);

    handlers_.start(facts_.folder);
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
    showSettings(handlers_.settings());
}

LRESULT FrmTavrel::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam), lParam != 0); return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) != control(ControlId::List1))
                return DefWindowProcW(hwnd(), msg, wParam, lParam);
            showListMenu(lParam);
            return 0;
        case WM_VKEYTOITEM:
            if (reinterpret_cast<HWND>(lParam) == control(ControlId::List1)) return listKey(wParam);
            return -1;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_HOTKEY: system_.stopKey.onHotKey(wParam); return 0;
        case WM_TIMER:
            if (wParam != kStepTimer) return DefWindowProcW(hwnd(), msg, wParam, lParam);
            services_.events.stepWork();
            return 0;
        case WM_CLOSE: unloadAndEnd(); return 0;
        case WM_ENDSESSION:
            if (wParam) unloadAndEnd();
            return 0;
        default: return DefWindowProcW(hwnd(), msg, wParam, lParam);
    }
}

void FrmTavrel::onCommand(int id, WORD code, bool fromControl) {
    // A click of the user on an entry selects it in the path, too.
    if (fromControl && id == static_cast<int>(ControlId::List1)) {
        if (code == LBN_SELCHANGE)
            path_.select(static_cast<int>(SendMessageW(control(ControlId::List1), LB_GETCURSEL, 0, 0)));
        return;
    }
    if (fromControl && code != BN_CLICKED) return;
    try {
        if (runCommand(buttonCommands(), id, handlers_) || runCommand(listMenuCommands(), id, handlers_)) return;
        switch (static_cast<ControlId>(id)) {
            case ControlId::ChkOnTop: handlers_.setOnTop(static_cast<int>(IsDlgButtonChecked(hwnd(), id))); break;
            case ControlId::ChkNoSound:
                // Only the settings file can give the third state; a click
                // moves between checked and unchecked.
                handlers_.setNoSound(handlers_.settings().noSound == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
                showSettings(handlers_.settings());
                break;
            default:
                for (const SpeedModeRow& row : kSpeedModes)
                    if (static_cast<int>(speedOption(row.mode)) == id)
                        handlers_.setSpeedMode(row.mode);
                break;
        }
    } catch (const std::exception& failure) {
        // A failing handler is reported and the program keeps running, with
        // the list the user has built up.
        services_.notifier.message(std::string("The action failed: ") + failure.what(), Icon::Stop);
    }
}

// Right click, Shift+F10 or the menu key on the list. A right click on an
// entry selects it first, so the menu is about the entry under the mouse.
void FrmTavrel::showListMenu(LPARAM at) {
    HWND box = control(ControlId::List1);
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        RECT item{};
        const LRESULT selected = SendMessageW(box, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR || SendMessageW(box, LB_GETITEMRECT, static_cast<WPARAM>(selected),
                                               reinterpret_cast<LPARAM>(&item)) == LB_ERR)
            GetClientRect(box, &item);
        point = {item.left, item.bottom};
        ClientToScreen(box, &point);
    } else {
        // The keys go to the list from now on, as after a left click, so
        // Del and the menu key work on what the menu was about.
        SetFocus(box);
        POINT inside = point;
        ScreenToClient(box, &inside);
        RECT client{};
        GetClientRect(box, &client);
        // Below the last entry, or on the scroll bar, the box names the
        // nearest entry with the high word set: that is none under the mouse.
        const LRESULT hit = SendMessageW(box, LB_ITEMFROMPOINT, 0, MAKELPARAM(inside.x, inside.y));
        path_.select(PtInRect(&client, inside) && HIWORD(hit) == 0 ? LOWORD(hit) : -1);
    }
    HMENU menu = commandMenu(listMenuCommands(), handlers_);
    int chosen = 0;
    handlers_.trackingMenu([&] {
        chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x,
                                                 point.y, 0, hwnd(), nullptr));
    });
    DestroyMenu(menu);
    if (chosen != 0) onCommand(chosen, 0, false);
}

// The list's own keys (Del), which work while it has the focus; its Ctrl
// keys work anywhere in the window (setAccelerators).
LRESULT FrmTavrel::listKey(WPARAM wParam) {
    const int id = acceleratedCommand(listMenuCommands(), LOWORD(wParam), GetKeyState(VK_CONTROL) < 0);
    if (id == 0) return -1;
    onCommand(id, 0, false);
    return -2;
}

void FrmTavrel::unloadAndEnd() {
    handlers_.finish();
    // Every recording, playback or modal loop around this call returns at
    // its next pump without any further effect, so none of them resumes.
    endProgram();
}

void FrmTavrel::changed(const PathChange& change) {
    HWND box = control(ControlId::List1);
    switch (change.kind) {
        case PathChange::Kind::Inserted: {
            const LRESULT at = SendMessageW(box, LB_INSERTSTRING, static_cast<WPARAM>(change.index),
                                            reinterpret_cast<LPARAM>(listEntryDisplay(change.entries[0]).c_str()));
            if (at == LB_ERR || at == LB_ERRSPACE) throw std::bad_alloc();
            return;
        }
        case PathChange::Kind::Erased:
            SendMessageW(box, LB_DELETESTRING, static_cast<WPARAM>(change.index), 0);
            return;
        case PathChange::Kind::Reset: break;
    }
    // Everything that needs memory comes first: a list too large to show
    // throws here, with the box untouched.
    std::vector<std::wstring> shown;
    shown.reserve(change.entries.size());
    for (const std::string& entry : change.entries) shown.push_back(listEntryDisplay(entry));

    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    const bool filled = fillListBox(box, shown);
    if (!filled) {
        // The box could not take them all: it shows the path's list, which
        // has not changed yet, again.
        std::vector<std::wstring> old;
        old.reserve(path_.entries().size());
        for (const std::string& entry : path_.entries()) old.push_back(listEntryDisplay(entry));
        fillListBox(box, old);
        SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(path_.selected()), 0);
    }
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    if (!filled) throw std::bad_alloc();
}

void FrmTavrel::selected(int index) {
    SendMessageW(control(ControlId::List1), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void FrmTavrel::setBusy(bool busy) {
    // Moving the window, a menu and a message box run loops of the system's
    // own, which step no playback: this timer does meanwhile, 10 ms apart at
    // best, which only slows the keys down while such a loop runs.
    if (busy) SetTimer(hwnd(), kStepTimer, USER_TIMER_MINIMUM, nullptr);
    else KillTimer(hwnd(), kStepTimer);
    for (const ControlSpec& row : mainWindowControls())
        if (row.id == ControlId::Frame2 || insideFrame2(row.id)) EnableWindow(control(row.id), !busy);
}

void FrmTavrel::setPlayCaption(std::string_view caption) {
    SetWindowTextW(control(ControlId::Command3), widen(caption).c_str());
}

void FrmTavrel::showStopKeyMissing(bool missing) {
    stopKeyMissing_ = missing;
    showTitle();
}

void FrmTavrel::showNotWatching(bool notWatching) {
    notWatching_ = notWatching;
    showTitle();
}

void FrmTavrel::showHint(std::string_view hint) {
    hint_ = hint;
    showTitle();
}

void FrmTavrel::showTitle() {
    SetWindowTextW(hwnd(), widen(mainCaption(stopKeyMissing_, notWatching_, hint_)).c_str());
}

void FrmTavrel::showSettings(const Settings& settings) {
    for (const SpeedModeRow& row : kSpeedModes)
        CheckDlgButton(hwnd(), static_cast<int>(speedOption(row.mode)),
                       row.mode == settings.mode ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), static_cast<int>(ControlId::ChkNoSound), static_cast<UINT>(settings.noSound));
    CheckDlgButton(hwnd(), static_cast<int>(ControlId::ChkOnTop), static_cast<UINT>(settings.onTop));
}

}  // namespace tavrel::win32

namespace tavrel::win32 {

void FrmTavrel::showPreview() { runPreviewWindow(instance_, hwnd(), path_); }

void FrmTavrel::showAbout() {
    ShowWindow(hwnd(), SW_HIDE);
    if (!runAboutWindow(instance_, hwnd(), facts_, system_)) return;
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

}  // namespace tavrel::win32
