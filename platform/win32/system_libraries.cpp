#include "platform/win32/system_libraries.h"

#include <commctrl.h>

#include <cstring>

namespace tavrel::win32 {

namespace {

HMODULE systemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
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

bool playSoundFile(const char* path, UINT flags) {
    using Fn = BOOL(WINAPI*)(LPCSTR, UINT);
    static Fn fn = systemFunction<Fn>(L"winmm.dll", "sndPlaySoundA");
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
