#include "tests/support/window_search.h"

namespace e2e {

namespace {

constexpr UINT kReadTimeoutMs = 5000;

struct TopLevelSearch {
    DWORD pid;
    const std::wstring& cls;
    const std::optional<std::wstring>& caption;
    HWND found;
};

BOOL CALLBACK matchTopLevel(HWND w, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if ((search->pid && pid != search->pid) || pid == GetCurrentProcessId() || !IsWindowVisible(w) ||
        className(w) != search->cls)
        return TRUE;
    if (search->caption && windowText(w) != *search->caption) return TRUE;
    search->found = w;
    return FALSE;
}

struct ChildSearch {
    const std::wstring& cls;
    const std::wstring& caption;
    HWND found;
};

BOOL CALLBACK matchChild(HWND w, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (_wcsicmp(className(w).c_str(), search->cls.c_str()) != 0) return TRUE;
    if (!search->caption.empty() && windowText(w) != search->caption) return TRUE;
    search->found = w;
    return FALSE;
}

}  // namespace

std::wstring className(HWND w) {
    wchar_t buffer[256];
    int n = GetClassNameW(w, buffer, 256);
    return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::wstring windowText(HWND w) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReadTimeoutMs, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kReadTimeoutMs, &got);
    text.resize(got);
    return text;
}

HWND findTopLevel(DWORD pid, const std::wstring& cls, const std::optional<std::wstring>& caption) {
    TopLevelSearch search{pid, cls, caption, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForTopLevel(DWORD pid, const std::wstring& cls, const std::optional<std::wstring>& caption,
                     Millis timeout) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findTopLevel(pid, cls, caption)) != nullptr; }, timeout);
    return found;
}

HWND findChild(HWND parent, const std::wstring& cls, const std::wstring& caption) {
    ChildSearch search{cls, caption, nullptr};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND focusOfThread(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

RECT childRect(HWND c) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

bool answers(HWND window, Millis timeout) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &ignored) != 0;
}

bool focus(HWND window) {
    SetForegroundWindow(window);
    return waitUntil([&] { return GetForegroundWindow() == window; }, 10s);
}

}  // namespace e2e
