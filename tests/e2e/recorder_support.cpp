#include "tests/e2e/recorder_support.h"

#include <stdexcept>

namespace e2e {

namespace {

std::array<int, 256>& keyDowns() {
    static std::array<int, 256> counts{};
    return counts;
}

LRESULT CALLBACK keySinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN) ++keyDowns()[wParam & 0xff];
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

double seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

void pumpOwnMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& condition, Millis timeout) {
    const double end = seconds() + static_cast<double>(timeout.count()) / 1000.0;
    for (;;) {
        pumpOwnMessages();
        if (condition()) return true;
        if (seconds() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

KeySink::KeySink() {
    keyDowns().fill(0);
    WNDCLASSW wc{};
    wc.lpfnWndProc = keySinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavrelDriverKeySink";
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassW(&wc);  // fails harmlessly when an earlier sink registered it
    // Top left, away from the program's window in the middle of the screen.
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Keys typed by the driver", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            240, 120, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd_) throw std::runtime_error("cannot create the window that takes the keys");
    pumpOwnMessages();
}

KeySink::~KeySink() {
    DestroyWindow(hwnd_);
    pumpOwnMessages();
}

bool KeySink::take() const {
    SetForegroundWindow(hwnd_);
    return pumpUntil([&] { return GetForegroundWindow() == hwnd_; }, 10s);
}

bool KeySink::tap(WORD vk) const {
    if (GetForegroundWindow() != hwnd_) return false;
    tapKey(vk);
    return true;
}

int KeySink::keyDownsOf(WORD vk) const { return keyDowns()[vk & 0xff]; }

bool passCompleted(const App& app) {
    for (int i = 0; i < 3; ++i) {
        if (!app.responsive()) return false;
        pumpOwnMessages();
    }
    return true;
}

// Wine starts a Linux program handed to CreateProcess but gives back no
// process handle to wait on, so a shell around xdotool moves a file holding
// its exit code into place once it has ended.
std::string xdotool(const ProgramFolder& folder, const std::string& args, std::string* output) {
    static int counter = 0;
    const std::wstring stem = L"xdotool-" + std::to_wstring(counter++);
    const std::string out = unixPath(folder.file(stem + L".out"));
    const std::string rc = unixPath(folder.file(stem + L".rc"));
    if (out.empty() || rc.empty()) return "not running under Wine: no Linux path for the program folder";
    std::wstring commandLine = widen("sh -c \"xdotool " + args + " >'" + out + "' 2>&1; echo $? >'" + rc +
                                     ".tmp'; mv '" + rc + ".tmp' '" + rc + "'\"");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"/bin/sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return "cannot start /bin/sh, error " + std::to_string(GetLastError());
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    bool exists = false;
    std::string code;
    if (!pumpUntil([&] {
            code = folder.read(stem + L".rc", &exists);
            return exists && !code.empty();
        }))
        return "xdotool " + args + " did not finish";
    std::string said = folder.read(stem + L".out");
    if (output) *output = said;
    while (!code.empty() && (code.back() == '\n' || code.back() == '\r')) code.pop_back();
    if (code != "0") return "xdotool " + args + " failed (exit " + code + "): " + said;
    return {};
}

unsigned long long xWindowOf(HWND window) {
    return reinterpret_cast<unsigned long long>(GetPropW(window, L"__wine_x11_whole_window"));
}

}  // namespace e2e
