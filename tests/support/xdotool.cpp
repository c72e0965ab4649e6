#include "tests/support/xdotool.h"

#include "tests/support/files.h"
#include "tests/support/wait.h"

namespace e2e {

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
