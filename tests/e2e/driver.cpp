#include "tests/e2e/driver.h"

#include <atomic>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

std::wstring ownFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring className(HWND w) {
    wchar_t buffer[256];
    int n = GetClassNameW(w, buffer, 256);
    return std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}

std::wstring windowText(HWND w) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(got);
    return text;
}

void deleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(anyLength(folder + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                deleteTree(path);
            } else {
                SetFileAttributesW(anyLength(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(anyLength(path).c_str());
            }
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    SetFileAttributesW(anyLength(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(anyLength(folder).c_str());
}

struct FindArgs {
    DWORD pid;
    std::wstring cls;
    std::wstring caption;
    bool anyCaption;
    HWND found;
};

BOOL CALLBACK findTopLevel(HWND w, LPARAM param) {
    auto* args = reinterpret_cast<FindArgs*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if ((args->pid && pid != args->pid) || pid == GetCurrentProcessId() || !IsWindowVisible(w) || className(w) != args->cls) return TRUE;
    if (!args->anyCaption && windowText(w) != args->caption) return TRUE;
    args->found = w;
    return FALSE;
}

struct ChildArgs {
    std::wstring cls;
    std::wstring caption;
    HWND found;
};

BOOL CALLBACK findChild(HWND w, LPARAM param) {
    auto* args = reinterpret_cast<ChildArgs*>(param);
    if (_wcsicmp(className(w).c_str(), args->cls.c_str()) != 0) return TRUE;
    if (!args->caption.empty() && windowText(w) != args->caption) return TRUE;
    args->found = w;
    return FALSE;
}

HWND child(HWND parent, const std::wstring& cls, const std::wstring& caption) {
    ChildArgs args{cls, caption, nullptr};
    EnumChildWindows(parent, findChild, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

using WineUnixName = char*(CDECL*)(LPCWSTR);

WineUnixName wineUnixName() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return nullptr;
    return reinterpret_cast<WineUnixName>(reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
}

}  // namespace

std::string unixPath(const std::wstring& windowsPath) {
    WineUnixName convert = wineUnixName();
    if (!convert) return {};
    char* name = convert(windowsPath.c_str());
    if (!name) return {};
    std::string out = name;
    HeapFree(GetProcessHeap(), 0, name);
    return out;
}

bool waitUntil(const std::function<bool()>& condition, Millis timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(20);
    }
}

std::wstring widen(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring anyLength(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
    return L"\\\\?\\" + path;
}

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
    std::wstring from = ownFolder();
    if (!CopyFileW((from + L"\\tavrel.exe").c_str(), anyLength(file(L"tavrel.exe")).c_str(), FALSE))
        throw std::runtime_error("cannot copy tavrel.exe from " + narrow(from));
    for (const wchar_t* sound : {L"key.wav", L"click.wav"})
        CopyFileW((from + L"\\" + sound).c_str(), anyLength(file(sound)).c_str(), FALSE);
}

ProgramFolder::~ProgramFolder() { deleteTree(root_); }

void ProgramFolder::write(const std::wstring& name, const std::string& bytes) const { writeFile(file(name), bytes); }

std::string ProgramFolder::read(const std::wstring& name, bool* exists) const { return readFile(file(name), exists); }

void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(anyLength(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + narrow(path));
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

std::string readFile(const std::wstring& path, bool* exists) {
    HANDLE h = CreateFileW(anyLength(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (exists) *exists = h != INVALID_HANDLE_VALUE;
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

App::App(const ProgramFolder& folder) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring exe = folder.file(L"tavrel.exe");
    std::wstring commandLine = L"\"" + exe + L"\"";
    // Started from another folder: the program must find its files by its own path.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // Wine 8 starts no program by its "\\?\" path, Windows none beyond
    // MAX_PATH without it.
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si, &pi_) &&
        !CreateProcessW(anyLength(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si,
                        &pi_) &&
        !startThroughWineLoader(exe))
        throw std::runtime_error("cannot start tavrel.exe, error " + std::to_string(GetLastError()));
    main_ = waitForWindow(L"TavrelMainWindow", L"Tavrel for RMXP");
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
    FindArgs args{0, L"TavrelMainWindow", L"Tavrel for RMXP", false, nullptr};
    waitUntil([&] {
        EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&args));
        return args.found != nullptr;
    });
    if (!args.found) return false;
    GetWindowThreadProcessId(args.found, &pi_.dwProcessId);
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

bool App::responsive(Millis timeout) const {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &ignored) != 0;
}

HWND App::findWindow(const std::wstring& cls, const std::wstring& caption) const {
    FindArgs args{pi_.dwProcessId, cls, caption, false, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

HWND App::waitForWindow(const std::wstring& cls, const std::wstring& caption, Millis timeout) const {
    HWND found = nullptr;
    waitUntil([&] { return (found = findWindow(cls, caption)) != nullptr; }, timeout);
    return found;
}

HWND App::button(const std::wstring& caption) const {
    HWND b = child(main_, L"Button", caption);
    if (!b) throw std::runtime_error("no button \"" + narrow(caption) + "\" in the main window");
    return b;
}

HWND App::list() const { return child(main_, L"ListBox", L""); }

void App::click(const std::wstring& caption) const { PostMessageW(button(caption), BM_CLICK, 0, 0); }

std::vector<std::wstring> App::listItems() const {
    std::vector<std::wstring> items;
    for (int i = 0, n = listCount(); i < n; ++i) items.push_back(listItem(i));
    return items;
}

std::wstring App::listItem(int index) const {
    HWND lb = list();
    DWORD_PTR length = 0;
    SendMessageTimeoutW(lb, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(lb, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &got);
    text.resize(length);
    return text;
}

int App::listCount() const {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list(), LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    return static_cast<int>(count);
}

int App::listSelection() const {
    DWORD_PTR sel = 0;
    SendMessageTimeoutW(list(), LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &sel);
    return static_cast<int>(static_cast<LRESULT>(sel));
}

std::wstring App::text(HWND window) const { return windowText(window); }

int App::checkState(const std::wstring& caption) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(button(caption), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return static_cast<int>(state);
}

bool App::checked(const std::wstring& caption) const { return checkState(caption) == BST_CHECKED; }

namespace {

// Pixels of `icon` drawn on `background`, `size` square.
std::vector<COLORREF> iconPixels(HICON icon, COLORREF background, int size) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r{0, 0, size, size};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<COLORREF> screenPixels(POINT topLeft, int size) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bmp);
    BitBlt(dc, 0, 0, size, size, screen, topLeft.x, topLeft.y, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Which system icon the message box shows, compared by what is on screen:
// icon handles are not shared between processes under Wine.
int identifyIcon(HWND iconControl) {
    RECT r;
    GetWindowRect(iconControl, &r);
    int size = GetSystemMetrics(SM_CXICON);
    std::vector<COLORREF> seen = screenPixels(POINT{r.left, r.top}, size);
    COLORREF background = seen.front();
    struct Candidate {
        int number;
        LPCWSTR id;
    } candidates[] = {{16, IDI_HAND}, {48, IDI_EXCLAMATION}, {64, IDI_ASTERISK}};
    int best = 0;
    std::size_t bestDiff = seen.size();
    for (const auto& c : candidates) {
        std::vector<COLORREF> expected = iconPixels(LoadIconW(nullptr, c.id), background, size);
        std::size_t diff = 0;
        for (std::size_t i = 0; i < seen.size(); ++i) diff += seen[i] != expected[i];
        if (diff < bestDiff) {
            bestDiff = diff;
            best = c.number;
        }
    }
    return bestDiff * 10 < seen.size() ? best : 0;
}

struct BoxArgs {
    HWND icon = nullptr;
    HWND text = nullptr;
    std::size_t longest = 0;
};

BOOL CALLBACK readBoxChild(HWND w, LPARAM param) {
    auto* args = reinterpret_cast<BoxArgs*>(param);
    if (_wcsicmp(className(w).c_str(), L"Static") != 0) return TRUE;
    LONG style = GetWindowLongW(w, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
        args->icon = w;
    } else {
        std::wstring t = windowText(w);
        if (t.size() >= args->longest) {
            args->longest = t.size();
            args->text = w;
        }
    }
    return TRUE;
}

}  // namespace

MessageBoxSeen takeMessageBox(const App& app, Millis timeout) {
    MessageBoxSeen seen;
    FindArgs args{app.pid(), L"#32770", L"", true, nullptr};
    waitUntil(
        [&] {
            args.found = nullptr;
            EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&args));
            return args.found != nullptr;
        },
        timeout);
    if (!args.found) return seen;
    seen.hwnd = args.found;
    seen.caption = windowText(args.found);
    BoxArgs box;
    // The box may still be laying itself out; wait for its text to arrive.
    waitUntil(
        [&] {
            box = BoxArgs{};
            EnumChildWindows(args.found, readBoxChild, reinterpret_cast<LPARAM>(&box));
            return box.text != nullptr && box.longest > 0;
        },
        10s);
    if (box.text) seen.text = windowText(box.text);
    if (box.icon) {
        // Let it paint before its pixels are read.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(args.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        RedrawWindow(args.found, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(100);
        seen.icon = identifyIcon(box.icon);
    }
    PostMessageW(args.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    waitUntil([&] { return !IsWindow(args.found) || !IsWindowVisible(args.found); }, 10s);
    return seen;
}

bool noMessageBox(const App& app) {
    FindArgs args{app.pid(), L"#32770", L"", true, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&args));
    return args.found == nullptr;
}

void pressKey(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    bool extended = vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN;
    in.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (down ? 0 : KEYEVENTF_KEYUP);
    SendInput(1, &in, sizeof in);
}

void tapKey(WORD vk) {
    pressKey(vk, true);
    pressKey(vk, false);
}

bool focus(HWND window) {
    SetForegroundWindow(window);
    return waitUntil([&] { return GetForegroundWindow() == window; }, 10s);
}

RECT childRect(HWND c) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace e2e
