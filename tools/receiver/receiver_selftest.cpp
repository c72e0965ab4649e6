// End-to-end check of the receiver: starts it, types the key strings of a
// short path into it the way the player does, and compares the buttons it
// pressed, the key events it saw and where the focus ended up.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "resource.h"

namespace {

// Budgets, not pauses: every wait returns as soon as its condition holds.
// Starting a fresh Wine process can take several seconds, and Wine without a
// window manager stalls a thread for about 2 s when one of its windows hides.
constexpr ULONGLONG kStartBudgetMs = 30000;
constexpr ULONGLONG kForegroundBudgetMs = 5000;
constexpr ULONGLONG kPressBudgetMs = 15000;
constexpr DWORD kExitBudgetMs = 15000;
constexpr DWORD kPollMs = 20;

struct KeyString {
    const char* entry;
    const char* keys;
};

// The player's table: down n buttons, space, up n buttons.
constexpr KeyString kKeyStrings[] = {
    {"DOWN", " "},
    {"LEFT", "{DOWN}, ,{UP}"},
    {"RIGHT", "{DOWN},{DOWN}, ,{UP},{UP}"},
    {"UP", "{DOWN},{DOWN},{DOWN}, ,{UP},{UP},{UP}"},
};

// Every button once, then a repeat and a step back to the first button, so a
// focus left one step off by the previous entry shows up.
const std::vector<std::string> kPath = {"DOWN", "LEFT", "RIGHT", "UP", "UP", "DOWN"};

std::string keysFor(const std::string& entry) {
    for (const auto& row : kKeyStrings) {
        if (entry == row.entry) return row.keys;
    }
    return {};
}

std::vector<WORD> virtualKeysOf(const std::string& keys) {
    std::vector<WORD> out;
    std::size_t start = 0;
    while (start <= keys.size()) {
        std::size_t comma = keys.find(',', start);
        if (comma == std::string::npos) comma = keys.size();
        const std::string_view piece(keys.data() + start, comma - start);
        if (piece == "{DOWN}") out.push_back(VK_DOWN);
        else if (piece == "{UP}") out.push_back(VK_UP);
        else if (piece == " ") out.push_back(VK_SPACE);
        start = comma + 1;
    }
    return out;
}

// Without the extended flag the arrows arrive as the keypad's 2 and 8 keys.
bool sendKey(WORD vk) {
    const bool extended = vk == VK_DOWN || vk == VK_UP;
    INPUT inputs[2] = {};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = vk;
        inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        inputs[i].ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0u) | (i == 1 ? KEYEVENTF_KEYUP : 0u);
    }
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

std::wstring folderOfThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring newTempFileName() {
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"trv", 0, name) == 0) return {};
    return name;
}

// Shared read access: the receiver keeps the log open for appending.
bool readWholeFile(const std::wstring& path, std::string& out) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    out.clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(file);
    return true;
}

struct LogLine {
    std::uint64_t micros = 0;
    std::string kind;   // PRESS, KEYDOWN or KEYUP
    std::string value;  // a direction or a virtual-key code
};

// Only complete lines: the receiver may be in the middle of writing the last.
std::vector<LogLine> parseLog(const std::string& text, std::vector<std::string>& malformed) {
    std::vector<LogLine> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        const std::string raw = text.substr(start, end - start);
        start = end + 1;
        std::istringstream fields(raw);
        LogLine line;
        std::string rest;
        if (!(fields >> line.micros >> line.kind >> line.value) || (fields >> rest) ||
            (line.kind != "PRESS" && line.kind != "KEYDOWN" && line.kind != "KEYUP")) {
            malformed.push_back(raw);
            continue;
        }
        lines.push_back(line);
    }
    return lines;
}

HWND focusOfThread(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

const char* buttonName(HWND dialog, HWND control) {
    if (control == nullptr) return "nothing";
    if (control == GetDlgItem(dialog, IDC_MOVE_DOWN)) return "Move Down";
    if (control == GetDlgItem(dialog, IDC_MOVE_LEFT)) return "Move Left";
    if (control == GetDlgItem(dialog, IDC_MOVE_RIGHT)) return "Move Right";
    if (control == GetDlgItem(dialog, IDC_MOVE_UP)) return "Move Up";
    return "another window";
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : " ") + item;
    return out;
}

class SelfTest {
public:
    int run();

private:
    bool fail(const std::string& why) {
        problems_.push_back(why);
        return false;
    }
    bool startReceiver();
    bool waitForReady();
    bool bringForward();
    bool typePath();
    bool waitForPresses();
    void checkLog();
    void closeReceiver();
    void report();

    std::wstring logPath_;
    std::wstring readyPath_;
    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
    std::vector<WORD> sentKeys_;
    std::vector<LogLine> lines_;
    std::vector<std::string> malformed_;
    std::vector<std::string> problems_;
};

bool SelfTest::startReceiver() {
    const std::wstring exe = folderOfThisProgram() + L"tavrel_receiver.exe";
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) return fail("missing " + narrow(exe));
    logPath_ = newTempFileName();
    readyPath_ = newTempFileName();
    if (logPath_.empty() || readyPath_.empty()) return fail("no temporary file names");
    // The name must exist only once the receiver is ready.
    DeleteFileW(readyPath_.c_str());

    std::wstring commandLine = L"\"" + exe + L"\" \"" + logPath_ + L"\" --ready \"" + readyPath_ + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        return fail("could not start " + narrow(exe) + ", error " + std::to_string(GetLastError()));
    }
    return true;
}

bool SelfTest::waitForReady() {
    const ULONGLONG deadline = GetTickCount64() + kStartBudgetMs;
    std::string text;
    while (!readWholeFile(readyPath_, text) || text.empty()) {
        // Doubles as the poll interval and notices an early exit.
        if (WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process_.hProcess, &code);
            return fail("receiver exited with code " + std::to_string(code) + " before it was ready");
        }
        if (GetTickCount64() > deadline) return fail("receiver not ready after " + std::to_string(kStartBudgetMs) + " ms");
    }
    dialog_ = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(text.c_str(), nullptr, 10)));
    if (!IsWindow(dialog_)) return fail("ready file names no window: " + text);
    wchar_t caption[64] = {};
    GetWindowTextW(dialog_, caption, 64);
    if (std::wstring_view(caption) != L"Tavrel Receiver") return fail("dialog caption is \"" + narrow(caption) + "\"");
    return true;
}

bool SelfTest::bringForward() {
    const ULONGLONG deadline = GetTickCount64() + kForegroundBudgetMs;
    while (GetForegroundWindow() != dialog_) {
        SetForegroundWindow(dialog_);
        if (WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_OBJECT_0) return fail("receiver exited early");
        if (GetTickCount64() > deadline) return fail("dialog did not come to the foreground");
    }
    HWND focus = focusOfThread(dialog_);
    if (focus != GetDlgItem(dialog_, IDC_MOVE_DOWN)) {
        return fail(std::string("focus at start is on ") + buttonName(dialog_, focus) + ", not Move Down");
    }
    return true;
}

// One SendInput per piece, back to back, as the player sends them in its
// fastest mode: the receiver must cope with keys queued faster than it runs.
bool SelfTest::typePath() {
    for (const auto& entry : kPath) {
        for (WORD vk : virtualKeysOf(keysFor(entry))) {
            if (!sendKey(vk)) return fail("SendInput refused a key, error " + std::to_string(GetLastError()));
            sentKeys_.push_back(vk);
        }
    }
    return true;
}

// Every press the keys can cause happens while the last key-up is handled, so
// once all sent key events and the expected number of presses are in the log,
// any extra press would be in it too.
bool SelfTest::waitForPresses() {
    const ULONGLONG deadline = GetTickCount64() + kPressBudgetMs;
    for (;;) {
        std::string text;
        readWholeFile(logPath_, text);
        malformed_.clear();
        lines_ = parseLog(text, malformed_);
        std::size_t keys = 0;
        std::size_t presses = 0;
        for (const auto& line : lines_) (line.kind == "PRESS" ? presses : keys) += 1;
        if (keys >= 2 * sentKeys_.size() && presses >= kPath.size()) return true;
        if (WaitForSingleObject(process_.hProcess, kPollMs) == WAIT_OBJECT_0) return fail("receiver exited early");
        if (GetTickCount64() > deadline) {
            return fail("after " + std::to_string(kPressBudgetMs) + " ms only " + std::to_string(keys) + " of " +
                        std::to_string(2 * sentKeys_.size()) + " key events and " + std::to_string(presses) +
                        " of " + std::to_string(kPath.size()) + " presses");
        }
    }
}

void SelfTest::checkLog() {
    std::vector<std::string> pressed;
    std::vector<std::string> keyEvents;
    std::vector<std::string> expectedKeyEvents;
    for (WORD vk : sentKeys_) {
        expectedKeyEvents.push_back("KEYDOWN:" + std::to_string(vk));
        expectedKeyEvents.push_back("KEYUP:" + std::to_string(vk));
    }
    std::uint64_t previous = 0;
    bool ordered = true;
    for (const auto& line : lines_) {
        if (line.kind == "PRESS") pressed.push_back(line.value);
        else keyEvents.push_back(line.kind + ":" + line.value);
        ordered = ordered && line.micros >= previous;
        previous = line.micros;
    }
    if (pressed != kPath) fail("pressed " + joined(pressed) + ", expected " + joined(kPath));
    if (keyEvents != expectedKeyEvents) fail("key events differ from the keys sent");
    if (!ordered) fail("timestamps go backwards");
    if (!malformed_.empty()) fail("malformed lines: " + joined(malformed_));
    // Each key string returns the focus to where it started.
    HWND focus = focusOfThread(dialog_);
    if (focus != GetDlgItem(dialog_, IDC_MOVE_DOWN)) {
        fail(std::string("focus at the end is on ") + buttonName(dialog_, focus) + ", not Move Down");
    }
}

void SelfTest::closeReceiver() {
    if (process_.hProcess == nullptr) return;
    if (dialog_ != nullptr) PostMessageW(dialog_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, kExitBudgetMs) != WAIT_OBJECT_0) {
        fail("receiver still running " + std::to_string(kExitBudgetMs) + " ms after WM_CLOSE");
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, kExitBudgetMs);
    } else if (dialog_ != nullptr) {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        if (code != 0) fail("receiver exit code " + std::to_string(code));
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

void SelfTest::report() {
    if (problems_.empty()) {
        std::printf("receiver self-test passed: pressed %s\n", joined(kPath).c_str());
        return;
    }
    std::printf("receiver self-test FAILED\n");
    for (const auto& problem : problems_) std::printf("  %s\n", problem.c_str());
    std::string text;
    if (!logPath_.empty() && readWholeFile(logPath_, text)) {
        std::printf("receiver log (%s):\n%s", narrow(logPath_).c_str(), text.c_str());
        if (!text.empty() && text.back() != '\n') std::printf("\n");
    }
}

int SelfTest::run() {
    if (startReceiver() && waitForReady() && bringForward() && typePath() && waitForPresses()) checkLog();
    closeReceiver();
    report();
    std::fflush(stdout);
    if (!logPath_.empty()) DeleteFileW(logPath_.c_str());
    if (!readyPath_.empty()) DeleteFileW(readyPath_.c_str());
    return problems_.empty() ? 0 : 1;
}

}  // namespace

int main() {
    SelfTest test;
    return test.run();
}
