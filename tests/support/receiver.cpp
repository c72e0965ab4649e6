#include "tests/support/receiver.h"

#include <array>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "tests/support/files.h"

namespace e2e {

namespace {

// Starting a fresh Wine process takes several seconds on a busy machine.
constexpr Millis kStartWait = 60s;
constexpr DWORD kCloseWaitMs = 15000;

// The receiver's buttons in its dialog's focus order.
constexpr std::array<std::string_view, 4> kButtonOrder{"DOWN", "LEFT", "RIGHT", "UP"};

}  // namespace

std::vector<std::string> ReceiverLog::events() const {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const auto& line : lines) out.push_back(line.event());
    return out;
}

std::vector<std::string> ReceiverLog::presses() const {
    std::vector<std::string> out;
    for (const auto& line : lines)
        if (line.kind == "PRESS") out.push_back(line.value);
    return out;
}

std::size_t ReceiverLog::count(const std::string& kind) const {
    std::size_t n = 0;
    for (const auto& line : lines) n += line.kind == kind;
    return n;
}

ReceiverLog parseReceiverLog(const std::string& text) {
    ReceiverLog log;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        const std::string raw = text.substr(start, end - start);
        start = end + 1;
        std::istringstream fields(raw);
        ReceiverLine line;
        std::string rest;
        if (!(fields >> line.micros >> line.kind >> line.value) || (fields >> rest) ||
            (line.kind != "PRESS" && line.kind != "KEYDOWN" && line.kind != "KEYUP")) {
            log.malformed.push_back(raw);
            continue;
        }
        log.lines.push_back(line);
    }
    return log;
}

std::optional<int> receiverButtonIndex(const std::string& direction) {
    for (std::size_t i = 0; i < kButtonOrder.size(); ++i)
        if (direction == kButtonOrder[i]) return static_cast<int>(i);
    return std::nullopt;
}

std::vector<std::string> expectedReceiverEvents(const std::vector<std::string>& entries) {
    const std::string down = std::to_string(VK_DOWN), up = std::to_string(VK_UP), space = std::to_string(VK_SPACE);
    std::vector<std::string> out;
    auto tap = [&](const std::string& vk) {
        out.push_back("KEYDOWN " + vk);
        out.push_back("KEYUP " + vk);
    };
    for (const auto& entry : entries) {
        const std::optional<int> n = receiverButtonIndex(entry);
        if (!n) continue;
        for (int i = 0; i < *n; ++i) tap(down);
        tap(space);
        // A push button reports its click while it handles the space key's release.
        out.push_back("PRESS " + entry);
        for (int i = 0; i < *n; ++i) tap(up);
    }
    return out;
}

Receiver::Receiver(const std::wstring& options) {
    const std::wstring exe = folderOfThisProgram() + L"\\tavrel_receiver.exe";
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        throw std::runtime_error("missing " + narrow(exe));
    logPath_ = newTempFile();
    readyPath_ = newTempFile();
    // The ready file must exist only once the receiver has written it.
    DeleteFileW(readyPath_.c_str());

    std::wstring commandLine = L"\"" + exe + L"\" \"" + logPath_ + L"\" --ready \"" + readyPath_ + L"\" " + options;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        throw std::runtime_error("cannot start " + narrow(exe) + ", error " + std::to_string(GetLastError()));
    }
    std::string ready;
    bool exited = false;
    waitUntil(
        [&] {
            exited = !running();
            return exited || !(ready = readFile(readyPath_)).empty();
        },
        kStartWait);
    if (exited || ready.empty()) {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        giveUp(exited ? "the receiver ended with code " + std::to_string(code) + " before it was ready"
                      : "the receiver was not ready within the wait");
    }
    dialog_ = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(ready.c_str(), nullptr, 10)));
    if (!IsWindow(dialog_)) giveUp("the receiver's ready file names no window: " + ready);
}

void Receiver::giveUp(const std::string& why) {
    // No destructor runs for an object whose constructor throws.
    close();
    DeleteFileW(logPath_.c_str());
    DeleteFileW(readyPath_.c_str());
    throw std::runtime_error(why);
}

Receiver::~Receiver() {
    close();
    if (!logPath_.empty()) DeleteFileW(logPath_.c_str());
    if (!readyPath_.empty()) DeleteFileW(readyPath_.c_str());
}

bool Receiver::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::string Receiver::logText() const { return readFile(logPath_); }

ReceiverLog Receiver::log() const { return parseReceiverLog(logText()); }

bool Receiver::bringForward(Millis timeout) const {
    // Asked again on every poll: a window that was just shown or hidden
    // elsewhere may take the foreground back in between.
    return waitUntil(
        [&] {
            if (foreground()) return true;
            SetForegroundWindow(dialog_);
            return foreground();
        },
        timeout);
}

std::wstring Receiver::focusedControl() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info) || !info.hwndFocus) return L"";
    wchar_t caption[64] = {};
    GetWindowTextW(info.hwndFocus, caption, 64);
    return caption;
}

int Receiver::close() {
    if (!process_.hProcess) return -1;
    int code = -1;
    // Without its dialog's handle there is no way to ask it to close.
    if (dialog_ && running()) PostMessageW(dialog_, WM_CLOSE, 0, 0);
    if (dialog_ && WaitForSingleObject(process_.hProcess, kCloseWaitMs) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process_.hProcess, &exitCode);
        code = static_cast<int>(exitCode);
    } else {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, kCloseWaitMs);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
    return code;
}

}  // namespace e2e
