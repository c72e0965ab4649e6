#include "tests/e2e/about_driver.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cstring>

namespace e2e {

namespace {

struct AboutSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK findAboutWindow(HWND w, LPARAM param) {
    auto* search = reinterpret_cast<AboutSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != search->pid || !IsWindowVisible(w)) return TRUE;
    wchar_t cls[64];
    if (!GetClassNameW(w, cls, 64) || std::wcscmp(cls, L"TavrelAbout") != 0) return TRUE;
    search->found = w;
    return FALSE;
}

bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored) != 0;
}

void mouseButton(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
}

POINT centreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

HWND findAbout(const App& app) {
    AboutSearch search{app.pid(), nullptr};
    EnumWindows(findAboutWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND openAbout(const App& app, std::string& seen) {
    app.click(L"About");
    HWND about = nullptr;
    if (!waitUntil([&] { return (about = findAbout(app)) != nullptr; })) {
        seen = "no About window appeared after clicking About";
        return nullptr;
    }
    if (!waitUntil([&] { return !IsWindowVisible(app.main()); })) {
        seen = "About opened but the main window stayed visible";
        return nullptr;
    }
    // Wine holds the thread for a moment after it hides a window.
    if (!answers(about) || !app.responsive()) {
        seen = "the program stopped answering after About opened";
        return nullptr;
    }
    return about;
}

bool waitForMainBack(const App& app, HWND about, std::string& seen) {
    if (!waitUntil([&] { return !IsWindow(about); })) {
        seen = "About is still open";
        return false;
    }
    if (!waitUntil([&] { return IsWindowVisible(app.main()) != FALSE; })) {
        seen = "About closed but the main window stayed hidden";
        return false;
    }
    if (!app.responsive()) {
        seen = "the main window came back but does not answer";
        return false;
    }
    return true;
}

HWND aboutControl(HWND about, tavrel::AboutId id) { return GetDlgItem(about, static_cast<int>(id)); }

HWND focusOfThread(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

int Capture::count(RECT area, COLORREF colour) const {
    int n = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) n += at(x, y) == colour;
    return n;
}

int Capture::countOther(RECT area, COLORREF colour) const {
    return static_cast<int>((area.right - area.left) * (area.bottom - area.top)) - count(area, colour);
}

Capture captureScreen(RECT area) {
    Capture capture;
    capture.width = area.right - area.left;
    capture.height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, capture.width, capture.height);
    HGDIOBJ old = SelectObject(dc, bmp);
    BitBlt(dc, 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
    SelectObject(dc, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<std::size_t>(capture.width * capture.height));
    GetDIBits(dc, bmp, 0, static_cast<UINT>(capture.height), raw.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    capture.pixels.reserve(raw.size());
    for (DWORD p : raw) capture.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return capture;
}

Capture captureClient(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return captureScreen({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
}

void clickCentre(HWND window) {
    POINT p = centreOf(window);
    SetCursorPos(p.x, p.y);
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    mouseButton(MOUSEEVENTF_LEFTUP);
}

void hover(HWND window) {
    POINT p = centreOf(window);
    SetCursorPos(p.x - 1, p.y);
    SetCursorPos(p.x, p.y);
}

std::vector<ProcessSeen> processes() {
    std::vector<ProcessSeen> seen;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return seen;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        seen.push_back(ProcessSeen{entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    CloseHandle(snapshot);
    return seen;
}

std::wstring commandLineOf(HANDLE process) {
    // Read from the process's own memory, where the system keeps it: the
    // query that returns it directly is not there on every system.
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    static Query query = [] {
        Query found = nullptr;
        FARPROC proc = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
        if (proc) std::memcpy(&found, &proc, sizeof found);
        return found;
    }();
    if (!query) return {};
    PROCESS_BASIC_INFORMATION basic{};
    ULONG got = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &got) < 0 || !basic.PebBaseAddress) return {};
    auto read = [process](const void* from, void* to, SIZE_T size) {
        SIZE_T n = 0;
        return ReadProcessMemory(process, from, to, size, &n) && n == size;
    };
    PEB peb{};
    if (!read(basic.PebBaseAddress, &peb, sizeof peb) || !peb.ProcessParameters) return {};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!read(peb.ProcessParameters, &parameters, sizeof parameters)) return {};
    const UNICODE_STRING& line = parameters.CommandLine;
    if (!line.Buffer || line.Length == 0) return {};
    std::wstring text(line.Length / sizeof(wchar_t), L'\0');
    if (!read(line.Buffer, text.data(), line.Length)) return {};
    // A process that is still setting itself up may show the text's place
    // before the text is in it.
    if (text.find(L'\0') != std::wstring::npos) return {};
    return text;
}

ScopedEnvironment::ScopedEnvironment(const std::wstring& name, const std::wstring& value) : name_(name) {
    DWORD n = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (n > 0) {
        old_.resize(n);
        DWORD got = GetEnvironmentVariableW(name.c_str(), old_.data(), n);
        old_.resize(got);
        had_ = true;
    }
    SetEnvironmentVariableW(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr); }

}  // namespace e2e
