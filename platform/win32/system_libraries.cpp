#include "platform/win32/system_libraries.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace tavrel::win32 {

namespace {

HMODULE systemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without its 2011 loader update (KB2533623) does not know the
    // flag and says so with ERROR_INVALID_PARAMETER.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = systemLibraryByFullPath(name);
    return module;
}

template <typename Fn>
Fn systemFunction(const wchar_t* library, const char* name) {
    static_assert(sizeof(Fn) == sizeof(FARPROC));
    HMODULE module = systemLibrary(library);
    if (!module) return nullptr;
    FARPROC proc = GetProcAddress(module, name);
    Fn fn = nullptr;
    static_assert(sizeof(fn) == sizeof(proc));
    std::memcpy(&fn, &proc, sizeof(fn));
    return fn;
}

}  // namespace

HMODULE systemLibraryByFullPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::wstring path = std::wstring(folder, n) + L"\\" + name;
    // The library's own dependencies are then looked for beside it too.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void hardenLibrarySearch() {
    SetDllDirectoryW(L"");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC proc = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (proc) {
        SetDefaultDllDirectoriesFn fn = nullptr;
        std::memcpy(&fn, &proc, sizeof(fn));
        fn(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

bool playSoundFile(const wchar_t* path, UINT flags) {
    using Fn = BOOL(WINAPI*)(LPCWSTR, UINT);
    static Fn fn = systemFunction<Fn>(L"winmm.dll", "sndPlaySoundW");
    if (!fn) return false;
    fn(path, flags);
    return true;
}

namespace {

using TimerPeriodFn = UINT(WINAPI*)(UINT);

bool callTimerPeriod(TimerPeriodFn fn) { return fn && fn(1) == 0; }

}  // namespace

bool beginFineTimer() {
    static TimerPeriodFn fn = systemFunction<TimerPeriodFn>(L"winmm.dll", "timeBeginPeriod");
    return callTimerPeriod(fn);
}

bool endFineTimer() {
    static TimerPeriodFn fn = systemFunction<TimerPeriodFn>(L"winmm.dll", "timeEndPeriod");
    return callTimerPeriod(fn);
}

bool initToolTips() {
    using Fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static Fn fn = systemFunction<Fn>(L"comctl32.dll", "InitCommonControlsEx");
    if (!fn) return false;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return fn(&icc) != FALSE;
}

}  // namespace tavrel::win32
