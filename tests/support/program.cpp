#include "tests/support/program.h"

#include <atomic>
#include <stdexcept>

#include "tests/support/files.h"
#include "tests/support/window_search.h"

namespace e2e {

namespace {

constexpr UINT kReadTimeoutMs = 5000;
const std::wstring kMainClass = L"TavrelMainWindow";
const std::wstring kMainCaption = L"Tavrel for RMXP";

}  // namespace

ProgramFolder::ProgramFolder() : ProgramFolder(L"") {}

ProgramFolder::ProgramFolder(const std::wstring& levels, std::size_t length) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"tavrel-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L"-" + std::to_wstring(GetTickCount());
    if (!CreateDirectoryW(root_.c_str(), nullptr)) throw std::runtime_error("cannot create " + narrow(root_));
    path_ = root_;
    std::wstring name = levels;
    if (length > root_.size() + 1 + name.size()) name.append(length - (root_.size() + 1 + name.size()), L'x');
    for (std::size_t start = 0; !name.empty() && start <= name.size();) {
        std::size_t end = name.find(L'\\', start);
        if (end == std::wstring::npos) end = name.size();
        path_ += L"\\" + name.substr(start, end - start);
        if (!CreateDirectoryW(anyLength(path_).c_str(), nullptr))
            throw std::runtime_error("cannot create the program folder, error " + std::to_string(GetLastError()));
        start = end + 1;
    }
    std::wstring from = folderOfThisProgram();
    if (!CopyFileW((from + L"\\tavrel.exe").c_str(), anyLength(file(L"tavrel.exe")).c_str(), FALSE))
        throw std::runtime_error("cannot copy tavrel.exe from " + narrow(from));
    for (const wchar_t* sound : {L"key.wav", L"click.wav"})
        CopyFileW((from + L"\\" + sound).c_str(), anyLength(file(sound)).c_str(), FALSE);
}

ProgramFolder::~ProgramFolder() { deleteTree(root_); }

void ProgramFolder::write(const std::wstring& name, const std::string& bytes) const { writeFile(file(name), bytes); }

std::string ProgramFolder::read(const std::wstring& name, bool* exists) const { return readFile(file(name), exists); }

App::App(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + exe + L"\"";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // Wine 8 starts no program by its "\\?\" path, Windows none beyond
    // MAX_PATH without it.
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si, &pi_) &&
        !CreateProcessW(anyLength(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si,
                        &pi_) &&
        !startThroughWineLoader(exe))
        throw std::runtime_error("cannot start " + narrow(exe) + ", error " + std::to_string(GetLastError()));
    main_ = waitForWindow(kMainClass, kMainCaption);
    if (!main_) throw std::runtime_error("the main window \"Tavrel for RMXP\" did not appear within the wait");
}

// Wine 8 starts no program in a folder longer than MAX_PATH through
// CreateProcess, in any form of the name; its own loader, started from
// Linux, does. It gives back no handle, so the process is found by its window.
bool App::startThroughWineLoader(const std::wstring& exe) {
    const std::string program = unixPath(exe);
    if (program.empty()) return false;
    std::wstring commandLine = widen("sh -c \"cd /tmp && exec wine '" + program + "'\"");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION sh{};
    if (!CreateProcessW(L"/bin/sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &sh))
        return false;
    if (sh.hProcess) CloseHandle(sh.hProcess);
    if (sh.hThread) CloseHandle(sh.hThread);
    HWND found = waitForTopLevel(0, kMainClass, kMainCaption);
    if (!found) return false;
    GetWindowThreadProcessId(found, &pi_.dwProcessId);
    pi_.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pi_.dwProcessId);
    return pi_.hProcess != nullptr;
}

App::~App() {
    if (running()) {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 10000);
    }
    if (pi_.hThread) CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

bool App::running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool App::waitForExit(Millis timeout) const {
    return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

bool App::responsive(Millis timeout) const { return answers(main_, timeout); }

HWND App::findWindow(const std::wstring& cls, const std::wstring& caption) const {
    return findTopLevel(pi_.dwProcessId, cls, caption);
}

HWND App::waitForWindow(const std::wstring& cls, const std::wstring& caption, Millis timeout) const {
    return waitForTopLevel(pi_.dwProcessId, cls, caption, timeout);
}

HWND App::button(const std::wstring& caption) const {
    HWND b = findChild(main_, L"Button", caption);
    if (!b) throw std::runtime_error("no button \"" + narrow(caption) + "\" in the main window");
    return b;
}

HWND App::list() const { return findChild(main_, L"ListBox"); }

void App::click(const std::wstring& caption) const { PostMessageW(button(caption), BM_CLICK, 0, 0); }

std::vector<std::wstring> App::listItems() const {
    std::vector<std::wstring> items;
    for (int i = 0, n = listCount(); i < n; ++i) items.push_back(listItem(i));
    return items;
}

std::wstring App::listItem(int index) const {
    HWND lb = list();
    DWORD_PTR length = 0;
    SendMessageTimeoutW(lb, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, kReadTimeoutMs, &length);
    // The entry went while the list was read: it is being refilled (an undo,
    // a Load), and a later read sees it whole.
    if (static_cast<LRESULT>(length) == LB_ERR) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(lb, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kReadTimeoutMs, &got);
    text.resize(length);
    return text;
}

int App::listCount() const {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list(), LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs, &count);
    return static_cast<int>(count);
}

int App::listSelection() const {
    DWORD_PTR sel = 0;
    SendMessageTimeoutW(list(), LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs, &sel);
    return static_cast<int>(static_cast<LRESULT>(sel));
}

std::wstring App::text(HWND window) const { return windowText(window); }

int App::checkState(const std::wstring& caption) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(button(caption), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs, &state);
    return static_cast<int>(state);
}

bool App::checked(const std::wstring& caption) const { return checkState(caption) == BST_CHECKED; }

}  // namespace e2e
