// Plays one long path into the receiving dialog in each speed mode and keeps
// what is needed to judge it: the receiver's log (a time for every key event
// and press), the times of the click on Play and of "DONE!", and the
// processor time tavrel.exe used. player_bench_report.py turns that into
// figures; player_bench.sh runs both.
//
// Usage: tavrel_player_bench OUTFOLDER [ENTRIES] [MODES]
//   ENTRIES  path length, 1000 unless given
//   MODES    speed modes to run, as digits, "012" unless given; "s" adds the
//            start-up against a bare window, "l" the load of 32,767 lines

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/receiver_support.h"

namespace {

using namespace e2e;

const char* const kDirections[] = {"UP", "DOWN", "LEFT", "RIGHT"};

// The same clock and the same arithmetic as the receiver's log times.
std::uint64_t nowMicroseconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const auto f = static_cast<std::uint64_t>(frequency.QuadPart);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    return ticks / f * 1000000u + ticks % f * 1000000u / f;
}

// Kernel plus user time of a process, in milliseconds.
double processorMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto hundredNs = [](FILETIME t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(hundredNs(kernel) + hundredNs(user)) / 1e4;
}

std::string readSmallFile(const std::wstring& name) {
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

// Under Wine, GetProcessTimes of another process leaves out most of its
// time (0.3 s reported for a playback that kept a core 40 % busy for 18 s),
// so the host's own account is read as well, through Wine's view of the
// Linux file system: the process whose command line names `folder`.
class HostProcessorTime {
public:
    explicit HostProcessorTime(std::string folder) : folder_(std::move(folder)) {}

    // Milliseconds of user plus system time, or -1 when not under Wine.
    double ms() {
        if (pid_.empty()) find();
        if (pid_.empty()) return -1;
        const std::string stat = readSmallFile(L"Z:\\proc\\" + widen(pid_) + L"\\stat");
        const std::size_t end = stat.rfind(')');
        if (end == std::string::npos) return -1;
        // Fields after the command name start with the third, the state;
        // user and system time are the 14th and 15th, in 1/100 s on Linux.
        std::istringstream fields(stat.substr(end + 1));
        std::string field;
        double ticks = 0;
        for (int number = 3; number <= 15 && fields >> field; ++number)
            if (number >= 14) ticks += std::stod(field);
        return ticks * 10.0;
    }

private:
    void find() {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(L"Z:\\proc\\*", &found);
        if (h == INVALID_HANDLE_VALUE) return;
        do {
            const std::wstring name = found.cFileName;
            if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
            const std::string commandLine = readSmallFile(L"Z:\\proc\\" + name + L"\\cmdline");
            if (commandLine.find(folder_) != std::string::npos && commandLine.find("tavrel.exe") != std::string::npos) {
                pid_ = narrow(name);
                break;
            }
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }

    std::string folder_;
    std::string pid_;
};

// Every direction in every succession, reproducibly.
std::vector<std::string> path(std::size_t size) {
    std::vector<std::string> out;
    std::uint32_t state = 1000003u;
    while (out.size() < size) {
        state = state * 1664525u + 1013904223u;
        out.emplace_back(kDirections[(state >> 12) % 4u]);
    }
    return out;
}

void writeFile(const std::wstring& name, const std::string& bytes) {
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + narrow(name));
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

struct Run {
    std::uint64_t clickUs = 0;
    std::uint64_t doneUs = 0;
    // From the click to "DONE!", and for the whole process just before it is
    // closed: as GetProcessTimes gives them, and as the host counts them.
    double playbackCpuMs = 0;
    double processCpuMs = 0;
    double hostPlaybackCpuMs = 0;
    double hostProcessCpuMs = 0;
    std::string doneText;
};

Run playOnce(int mode, const std::vector<std::string>& entries, const std::wstring& out) {
    ProgramFolder folder;
    folder.write(L"TavrelXP.vmi", "0\r\n1\r\n" + std::to_string(mode) + "\r\n");
    std::string list;
    for (const auto& e : entries) list += e + "\r\n";
    folder.write(L"TavrelXP.txt", list);

    Receiver receiver;
    App app(folder);
    app.click(L"Load");
    if (!waitUntil([&] { return app.listCount() == static_cast<int>(entries.size()); }, 60s))
        throw std::runtime_error("Load did not fill the list");
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, app.pid());
    if (!process) throw std::runtime_error("cannot open tavrel.exe for its times");

    const std::wstring& folderPath = folder.path();
    HostProcessorTime host(narrow(folderPath.substr(folderPath.find_last_of(L'\\') + 1)));
    Run run;
    const double cpuBefore = processorMs(process);
    const double hostBefore = host.ms();
    run.clickUs = nowMicroseconds();
    app.click(L"Play");
    if (!receiver.bringForward()) throw std::runtime_error("the receiver did not get the foreground");
    // Ultra-surpressed: 0.05 s before each of ~4,000 pieces; twice that and more is allowed.
    if (!waitUntil([&] { return app.findWindow(L"#32770", L"Tavrel") != nullptr; }, 1800s))
        throw std::runtime_error("no message box after playback");
    run.doneUs = nowMicroseconds();
    run.playbackCpuMs = processorMs(process) - cpuBefore;
    run.hostPlaybackCpuMs = host.ms() - hostBefore;
    run.doneText = narrow(takeMessageBox(app).text);
    app.responsive();
    run.processCpuMs = processorMs(process);
    run.hostProcessCpuMs = host.ms();

    std::size_t expected = 0;
    for (const auto& e : entries) expected += receiverButtonIndex(e).has_value();
    // Normally all there already; a shortfall is reported, not waited out.
    waitUntil([&] { return receiver.log().count("PRESS") >= expected; }, 10s);
    writeFile(out + L"\\mode" + std::to_wstring(mode) + L".log", receiver.logText());

    PostMessageW(app.main(), WM_CLOSE, 0, 0);
    app.waitForExit();
    CloseHandle(process);
    return run;
}

// From CreateProcess until a visible top-level window of the new process
// has `cls` as its class, polled every millisecond; the process is then
// closed. Milliseconds, or -1 when no window came.
double startToWindow(const std::wstring& exe, const std::wstring& cls) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::uint64_t start = nowMicroseconds();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        throw std::runtime_error("cannot start " + narrow(exe));
    HWND window = nullptr;
    std::uint64_t seen = 0;
    while (nowMicroseconds() - start < 30000000u) {
        for (HWND w = FindWindowExW(nullptr, nullptr, cls.c_str(), nullptr); w;
             w = FindWindowExW(nullptr, w, cls.c_str(), nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == pi.dwProcessId && IsWindowVisible(w)) window = w;
        }
        if (window) {
            seen = nowMicroseconds();
            break;
        }
        Sleep(1);
    }
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return window ? static_cast<double>(seen - start) / 1000.0 : -1;
}

// Start-up of tavrel.exe and of the bare window, in turns, `runs` each; the
// first of each is a warm-up and not counted.
std::string measureStartup(int runs) {
    ProgramFolder folder;
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring own(path, n);
    const std::wstring bare = own.substr(0, own.find_last_of(L'\\')) + L"\\tavrel_bare_window.exe";
    std::string text;
    for (int i = 0; i <= runs; ++i) {
        const double program = startToWindow(folder.file(L"tavrel.exe"), L"TavrelMainWindow");
        const double yardstick = startToWindow(bare, L"TavrelBareWindow");
        if (i == 0) continue;
        char line[128];
        std::snprintf(line, sizeof line, "startup_ms=%.2f %.2f\n", program, yardstick);
        text += line;
    }
    return text;
}

// From the click on Load until the list box holds every line, polled every
// millisecond (the count is asked of the busy program, so it answers once
// the handler is done).
std::string measureLoad(int lines, int runs) {
    std::string text;
    for (int i = 0; i < runs; ++i) {
        ProgramFolder folder;
        std::string bytes;
        for (int k = 0; k < lines; ++k) bytes += kDirections[k % 4] + std::string("\r\n");
        folder.write(L"TavrelXP.txt", bytes);
        App app(folder);
        const std::uint64_t start = nowMicroseconds();
        app.click(L"Load");
        while (app.listCount() != lines) {
            if (nowMicroseconds() - start > 120000000u) throw std::runtime_error("Load did not fill the list");
            Sleep(1);
        }
        char line[64];
        std::snprintf(line, sizeof line, "load_ms=%.1f\n", static_cast<double>(nowMicroseconds() - start) / 1000.0);
        text += line;
        PostMessageW(app.main(), WM_CLOSE, 0, 0);
        app.waitForExit();
    }
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tavrel_player_bench OUTFOLDER [ENTRIES] [MODES, e.g. 012sl]\n");
        return 1;
    }
    const std::wstring out = argv[1];
    const std::size_t size = argc > 2 ? static_cast<std::size_t>(_wtoi(argv[2])) : 1000;
    const std::wstring modes = argc > 3 ? argv[3] : L"012";
    try {
        const std::vector<std::string> entries = path(size);
        std::string pathText;
        for (const auto& e : entries) pathText += e + "\n";
        writeFile(out + L"\\path.txt", pathText);
        for (wchar_t m : modes) {
            if (m == L's') {
                std::printf("start-up: tavrel.exe and a bare window, in turns...\n");
                std::fflush(stdout);
                writeFile(out + L"\\startup.txt", measureStartup(20));
                continue;
            }
            if (m == L'l') {
                std::printf("load: 32,767 lines...\n");
                std::fflush(stdout);
                writeFile(out + L"\\load.txt", measureLoad(32767, 5));
                continue;
            }
            const int mode = m - L'0';
            if (mode < 0 || mode > 2) continue;
            std::printf("mode %d: playing %zu entries...\n", mode, entries.size());
            std::fflush(stdout);
            const Run run = playOnce(mode, entries, out);
            char text[512];
            std::snprintf(text, sizeof text,
                          "mode=%d\nentries=%zu\nclick_us=%llu\ndone_us=%llu\nplayback_cpu_ms=%.1f\n"
                          "process_cpu_ms=%.1f\nhost_playback_cpu_ms=%.1f\nhost_process_cpu_ms=%.1f\ndone_text=%s\n",
                          mode, entries.size(), static_cast<unsigned long long>(run.clickUs),
                          static_cast<unsigned long long>(run.doneUs), run.playbackCpuMs, run.processCpuMs,
                          run.hostPlaybackCpuMs, run.hostProcessCpuMs, run.doneText.c_str());
            writeFile(out + L"\\mode" + std::to_wstring(mode) + L".txt", text);
            std::printf("mode %d: done after %.1f s\n", mode, static_cast<double>(run.doneUs - run.clickUs) / 1e6);
            std::fflush(stdout);
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "bench failed: %s\n", failure.what());
        return 2;
    }
    return 0;
}
