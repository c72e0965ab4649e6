#include "platform/win32/services.h"

#include <mmsystem.h>

#include <utility>

#include "platform/sleep_time.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

void ModWave::play(const std::string& path) {
    // Wine's winmm opens a sound file by name through the ANSI code page and
    // a 128-character buffer: under Wine 8, a program folder named in
    // Cyrillic or longer than that played nothing. So the file is read here,
    // by its UTF-16 path at any length, and played from memory.
    ReadResult file = Win32FileStore{}.readAll(path);
    // Started asynchronously; a missing file plays nothing, not the default sound.
    if (!file.ok || file.bytes.empty()) return;
    // The system reads the sound from this memory after the call returns. A
    // new sound stops the one before it, so the buffer from two sounds back
    // is the first one free to go.
    current_ = 1 - current_;
    buffers_[current_] = std::move(file.bytes);
    playSoundFile(reinterpret_cast<const wchar_t*>(buffers_[current_].data()), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}

double monotonicSeconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

namespace {
bool ending = false;
}  // namespace

void endProgram() {
    ending = true;
    PostQuitMessage(0);
}

bool programEnding() { return ending; }

bool pumpMessages() {
    MSG msg;
    while (!ending && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Not of our making (another program asked us to quit): it ends
            // the program all the same, through every loop.
            ending = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return !ending;
}

bool Win32EventPump::pump() { return pumpMessages(); }

void Win32EventPump::waitForInput(double untilSeconds) {
    const int ms = sleepMilliseconds(monotonicSeconds(), untilSeconds);
    if (ms <= 0) return;
    // MWMO_INPUTAVAILABLE: a message already in the queue, seen or not by an
    // earlier PeekMessage, ends the wait at once.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32EventPump::beginWaiting() {
    // The default 15.6 ms tick would make every sleep of a 10 ms wait end
    // late; one request covers all nested loops.
    if (waitingLoops_++ == 0) fineTimer_ = beginFineTimer();
}

void Win32EventPump::endWaiting() {
    if (--waitingLoops_ == 0 && fineTimer_) {
        endFineTimer();
        fineTimer_ = false;
    }
}

void Win32Notifier::attach(HWND mainWindow, std::string title) {
    main_ = mainWindow;
    if (!title.empty()) title_ = std::move(title);
}

void Win32Notifier::message(std::string_view text, Icon icon) {
    // Over About while it shows, so the box is not hidden with the main
    // window; with no window of ours visible, modal for the whole program.
    HWND parent = GetActiveWindow();
    if (!parent || !IsWindowVisible(parent)) parent = main_ && IsWindowVisible(main_) ? main_ : nullptr;
    MessageBoxW(parent, widen(text).c_str(), widen(title_).c_str(),
                MB_OK | static_cast<UINT>(icon) | (parent ? 0u : static_cast<UINT>(MB_TASKMODAL)));
}

std::wstring launchTarget(const std::wstring& commandLine) {
    std::wstring program;
    if (!commandLine.empty() && commandLine.front() == L'"') {
        program = commandLine.substr(1, commandLine.find(L'"', 1) - 1);
    } else {
        program = commandLine.substr(0, commandLine.find(L' '));
    }
    if (program.find_first_of(L"\\/:") != std::wstring::npos) return program;
    wchar_t folder[MAX_PATH];
    for (auto locate : {GetWindowsDirectoryW, GetSystemDirectoryW}) {
        UINT n = locate(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) continue;
        std::wstring candidate = std::wstring(folder) + L"\\" + program;
        if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
    }
    return {};
}

std::string Win32ShellLauncher::launch(const std::string& commandLine, ShowStyle style) {
    std::wstring line = widen(commandLine);
    std::wstring program = launchTarget(line);
    if (program.empty()) return errorText(ERROR_FILE_NOT_FOUND);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(style);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return lastErrorText();
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {};
}

void ModSetTop::setTop(std::int16_t flag) {
    SetWindowPos(window, flag == -1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

}  // namespace tavrel::win32
