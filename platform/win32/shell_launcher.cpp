#include "platform/win32/shell_launcher.h"

#include "platform/win32/text.h"

namespace tavrel::win32 {

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

}  // namespace tavrel::win32
