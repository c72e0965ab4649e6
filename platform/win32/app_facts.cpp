#include "platform/win32/app_facts.h"

#include <windows.h>

#include <vector>

#include "platform/version_info.h"
#include "platform/win32/text.h"

namespace tavrel::win32 {

std::wstring folderOfProgram(const std::wstring& programPath) {
    auto slash = programPath.find_last_of(L'\\');
    if (slash == std::wstring::npos) return programPath;
    std::wstring folder = programPath.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps its backslash
    return folder;
}

AppFacts appFacts() {
    AppFacts facts;
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    facts.folder = narrow(folderOfProgram(std::wstring(path.begin(), path.end())));

    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data) {
        auto info = parseVersionInfo(std::string_view(static_cast<const char*>(data), SizeofResource(nullptr, found)));
        if (info) {
            facts.title = narrow(std::wstring(info->title.begin(), info->title.end()));
            facts.major = info->major;
            facts.minor = info->minor;
            facts.revision = info->revision;
        }
    }
    return facts;
}

}  // namespace tavrel::win32
