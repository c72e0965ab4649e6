// A stand-in for the editor's move dialog: four push buttons in one group,
// driven by nothing but the standard dialog manager, so that end-to-end tests
// and benchmarks see the same focus movement the real target relies on.
//
// Usage: tavrel_receiver LOGFILE [--ready READYFILE] [OPTION...], where the
// options make it a harder target:
//   --busy MS      every press takes MS milliseconds (and logs "AHEAD" when
//                  another key was already waiting for it)
//   --focus N      the focus starts on button N (0 the first) ...
//   --focus list   ... or on a list below the buttons
//   --drop N       the N-th arrow key (1 the first) is lost, down and up
//   --own-order    each button is a group of its own, made in reverse order,
//                  and the receiver moves the focus itself
//   --no-buttons   a list and nothing else
//   --superclass   the four buttons are of a class of their own, "TButton",
//                  built on the system's button as toolkits build theirs
//   --busy-once MS only the first press takes MS milliseconds (as --busy)
//   --route        a list below the buttons (the focus still starts on the
//                  first) gains a line, the direction, at every press, as
//                  the editor's route list does
//   --drop-press N the N-th space key (1 the first) is lost, down and up
// A lost key is left out of the log; the title then counts the keys lost,
// so that a test can tell that one was sent.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "resource.h"
#include "tests/support/clock.h"

namespace {

constexpr UINT_PTR kReadyTimer = 1;
// Short enough that a waiting test loses little time, long enough not to spin.
constexpr UINT kReadyPollMs = 10;

HANDLE g_log = INVALID_HANDLE_VALUE;
HHOOK g_hook = nullptr;
std::wstring g_readyPath;

struct Options {
    DWORD busyMs = 0;
    DWORD busyOnceMs = 0;
    int focus = 0;  // a button's place in kButtons, or -1 for the list
    int dropArrow = 0;
    int dropPress = 0;
    bool route = false;
    bool ownOrder = false;
    bool noButtons = false;
    bool superclass = false;
};
Options g_options;
HWND g_dialog = nullptr;
int g_arrows = 0;
int g_spaces = 0;
int g_presses = 0;
int g_lost = 0;
WPARAM g_dropUp = 0;  // the key whose release goes with the dropped press

// The buttons in the order the arrow keys walk them.
constexpr int kButtons[] = {IDC_MOVE_DOWN, IDC_MOVE_LEFT, IDC_MOVE_RIGHT, IDC_MOVE_UP};

int startControl() { return g_options.focus < 0 || g_options.noButtons ? IDC_ROUTE : kButtons[g_options.focus]; }

// The key's release is lost with it, as it would be with a key the system
// never delivered.
void losePress(MSG* msg) {
    g_dropUp = msg->wParam;
    msg->message = WM_NULL;
    const std::wstring title = L"Tavrel Receiver - " + std::to_wstring(++g_lost) + L" lost";
    SetWindowTextW(g_dialog, title.c_str());
}

// With --own-order, one step along kButtons from the focused button.
void moveFocusOwnWay(bool down) {
    const int id = GetDlgCtrlID(GetFocus());
    for (int i = 0; i < 4; ++i) {
        if (kButtons[i] != id) continue;
        const int next = kButtons[(i + (down ? 1 : 3)) % 4];
        SendMessageW(g_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(g_dialog, next)), TRUE);
        return;
    }
}

// Times are microseconds on the performance counter, which every process
// shares, so a sender can subtract its own readings from them.
//
// One unbuffered WriteFile per line makes each line visible to a reader in
// another process as soon as it is written; FlushFileBuffers would only add a
// disk sync to the key path and skew the gaps being measured.
void writeLogLine(std::string_view text) {
    std::string line = std::to_string(e2e::microseconds());
    line += ' ';
    line += text;
    line += '\n';
    const char* data = line.data();
    auto left = static_cast<DWORD>(line.size());
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(g_log, data, left, &written, nullptr) || written == 0) return;
        data += written;
        left -= written;
    }
}

// The dialog box runs its own message loop, so a thread hook is the only
// place that sees every key message, in the order the dialog retrieves them.
LRESULT CALLBACK onGetMessage(int code, WPARAM removal, LPARAM param) {
    // A peek without removal would show the same message twice.
    if (code == HC_ACTION && removal == PM_REMOVE) {
        auto* msg = reinterpret_cast<MSG*>(param);
        const bool arrow = msg->wParam == VK_DOWN || msg->wParam == VK_UP;
        const bool space = msg->wParam == VK_SPACE;
        const bool down = msg->message == WM_KEYDOWN;
        if ((down && arrow && ++g_arrows == g_options.dropArrow) ||
            (down && space && ++g_spaces == g_options.dropPress)) {
            losePress(msg);
        } else if (msg->message == WM_KEYUP && g_dropUp != 0 && msg->wParam == g_dropUp) {
            g_dropUp = 0;
            msg->message = WM_NULL;
        } else if (msg->message == WM_KEYDOWN && arrow && g_options.ownOrder) {
            writeLogLine("KEYDOWN " + std::to_string(msg->wParam));
            moveFocusOwnWay(msg->wParam == VK_DOWN);
            msg->message = WM_NULL;
        } else if (msg->message == WM_KEYDOWN) {
            writeLogLine("KEYDOWN " + std::to_string(msg->wParam));
        } else if (msg->message == WM_KEYUP) {
            writeLogLine("KEYUP " + std::to_string(msg->wParam));
        }
    }
    return CallNextHookEx(g_hook, code, removal, param);
}

const char* directionOf(int controlId) {
    switch (controlId) {
        case IDC_MOVE_DOWN: return "DOWN";
        case IDC_MOVE_LEFT: return "LEFT";
        case IDC_MOVE_RIGHT: return "RIGHT";
        case IDC_MOVE_UP: return "UP";
        default: return nullptr;
    }
}

// Delphi names its button class TButton, WinForms WindowsForms10.BUTTON...:
// the system's button under another name, with the system's window procedure.
bool registerSuperclassedButton(HINSTANCE instance) {
    WNDCLASSEXW button{};
    button.cbSize = sizeof button;
    if (!GetClassInfoExW(nullptr, L"Button", &button)) return false;
    button.hInstance = instance;
    button.lpszClassName = L"TButton";
    return RegisterClassExW(&button) != 0;
}

// Written under a temporary name and renamed, so a polling test never reads a
// half-written file. It holds the dialog's handle, which saves the test a
// window search.
bool writeReadyFile(HWND dialog) {
    const std::wstring temporary = g_readyPath + L".tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const std::string text = std::to_string(reinterpret_cast<std::uintptr_t>(dialog)) + "\n";
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok && MoveFileExW(temporary.c_str(), g_readyPath.c_str(), MOVEFILE_REPLACE_EXISTING);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            // The dialog is not shown yet; a timer finds out when it is.
            if (!g_readyPath.empty()) SetTimer(dialog, kReadyTimer, kReadyPollMs, nullptr);
            g_dialog = dialog;
            for (const wchar_t* line : {L"start", L"north", L"east"})
                SendDlgItemMessageW(dialog, IDC_ROUTE, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
            // WM_NEXTDLGCTL rather than SetFocus keeps the default-button
            // highlight in step with the focus, as the dialog manager does.
            SendMessageW(dialog, WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(GetDlgItem(dialog, startControl())), TRUE);
            return FALSE;

        case WM_TIMER:
            if (wParam == kReadyTimer && IsWindowVisible(dialog) &&
                GetFocus() == GetDlgItem(dialog, startControl())) {
                KillTimer(dialog, kReadyTimer);
                // Best effort: a test still brings the dialog forward itself,
                // because Windows may refuse a process that was not clicked.
                SetForegroundWindow(dialog);
                if (!writeReadyFile(dialog)) EndDialog(dialog, 3);
            }
            return TRUE;

        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDCANCEL) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            const char* direction = directionOf(id);
            if (direction != nullptr && HIWORD(wParam) == BN_CLICKED) {
                writeLogLine(std::string("PRESS ") + direction);
                if (g_options.route) {
                    const std::wstring line(direction, direction + std::strlen(direction));
                    SendDlgItemMessageW(dialog, IDC_ROUTE, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
                }
                const bool first = ++g_presses == 1;
                const DWORD busyMs = first && g_options.busyOnceMs > 0 ? g_options.busyOnceMs : g_options.busyMs;
                if (busyMs > 0) {
                    // A key already waiting here was sent before the dialog
                    // had finished with the last one.
                    MSG waiting;
                    if (PeekMessageW(&waiting, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE))
                        writeLogLine("AHEAD " + std::to_string(waiting.wParam));
                    Sleep(busyMs);
                }
                return TRUE;
            }
            return FALSE;
        }

        default:
            return FALSE;
    }
}

}  // namespace

// Exit codes: 0 closed normally, 1 bad command line, 2 log not writable,
// 3 ready file not writable, 4 dialog could not be created, 5 no key hook,
// 6 no button class of its own.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr) return 1;
    bool ok = argc >= 2;
    for (int i = 2; ok && i < argc; ++i) {
        const std::wstring_view option = argv[i];
        const bool valued = option == L"--ready" || option == L"--busy" || option == L"--focus" ||
                            option == L"--drop" || option == L"--busy-once" || option == L"--drop-press";
        if (valued && i + 1 >= argc) {
            ok = false;
            break;
        }
        const wchar_t* value = valued ? argv[++i] : L"";
        if (option == L"--ready") g_readyPath = value;
        else if (option == L"--busy") g_options.busyMs = static_cast<DWORD>(_wtoi(value));
        else if (option == L"--focus") g_options.focus = std::wstring_view(value) == L"list" ? -1 : _wtoi(value) % 4;
        else if (option == L"--drop") g_options.dropArrow = _wtoi(value);
        else if (option == L"--own-order") g_options.ownOrder = true;
        else if (option == L"--no-buttons") g_options.noButtons = true;
        else if (option == L"--superclass") g_options.superclass = true;
        else if (option == L"--busy-once") g_options.busyOnceMs = static_cast<DWORD>(_wtoi(value));
        else if (option == L"--route") g_options.route = true;
        else if (option == L"--drop-press") g_options.dropPress = _wtoi(value);
        else ok = false;
    }
    if (!ok) {
        LocalFree(argv);
        return 1;
    }
    const std::wstring logPath = argv[1];
    LocalFree(argv);
    const bool list = g_options.focus < 0 || g_options.route;
    const int dialogTemplate = g_options.noButtons    ? IDD_RECEIVER_NO_BUTTONS
                               : g_options.ownOrder   ? IDD_RECEIVER_OWN_ORDER
                               : g_options.superclass ? IDD_RECEIVER_SUPERCLASS
                               : list                 ? IDD_RECEIVER_LIST
                                                      : IDD_RECEIVER;

    // Append-only access makes every write land at the end, and the sharing
    // flags let a test read, or delete, the log while the dialog runs.
    g_log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_log == INVALID_HANDLE_VALUE) return 2;
    if (g_options.superclass && !registerSuperclassedButton(instance)) {
        CloseHandle(g_log);
        return 6;
    }

    g_hook = SetWindowsHookExW(WH_GETMESSAGE, onGetMessage, nullptr, GetCurrentThreadId());
    if (g_hook == nullptr) {
        CloseHandle(g_log);
        return 5;
    }
    const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(dialogTemplate), nullptr, dialogProc, 0);
    UnhookWindowsHookEx(g_hook);
    CloseHandle(g_log);
    return result == -1 ? 4 : static_cast<int>(result);
}
