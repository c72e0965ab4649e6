// Plays one long path into the receiving dialog in each speed mode and keeps
// what is needed to judge it: the receiver's log (a time for every key event
// and press), the times of the click on Play and of "DONE!", and the
// processor time tavrel.exe used. player_bench_report.py turns that into
// figures; player_bench.sh runs both.
//
// Usage: tavrel_player_bench OUTFOLDER [ENTRIES] [MODES]
//   ENTRIES  path length, 1000 unless given
//   MODES    speed modes to run, as digits, "012" unless given; "s" adds the
//            start-up against a bare window, "l" the load of 32,767 lines,
//            "b" mode 0 into a receiver that spends 40 ms on every press
//            (modeb.txt, modeb.log: "AHEAD" lines there are presses that
//            found another key already waiting)

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/clock.h"
#include "tests/support/driver.h"
#include "tests/support/processes.h"
#include "tests/support/receiver.h"

namespace {

using namespace e2e;

const char* const kDirections[] = {"UP", "DOWN", "LEFT", "RIGHT"};

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

Run playOnce(int mode, const std::vector<std::string>& entries, const std::wstring& out,
             const std::wstring& name, const std::wstring& receiverOptions) {
    ProgramFolder folder;
    folder.write(L"TavrelXP.vmi", "0\r\n1\r\n" + std::to_string(mode) + "\r\n");
    std::string list;
    for (const auto& e : entries) list += e + "\r\n";
    folder.write(L"TavrelXP.txt", list);

    Receiver receiver(receiverOptions);
    App app(folder);
    app.click(L"Load");
    if (!waitUntil([&] { return app.listCount() == static_cast<int>(entries.size()); }, 60s))
        throw std::runtime_error("Load did not fill the list");
    // Under Wine the system's account leaves out most of another process's
    // time, so the host's is read as well.
    const HostProcess host = HostProcess::find({narrow(folder.name()), "tavrel.exe"});
    Run run;
    const double cpuBefore = processorMs(app.process());
    const double hostBefore = host.cpuMs();
    run.clickUs = microseconds();
    app.click(L"Play");
    if (!receiver.bringForward()) throw std::runtime_error("the receiver did not get the foreground");
    // Ultra-surpressed: 0.05 s before each of ~4,000 pieces; twice that and more is allowed.
    if (!waitUntil([&] { return app.findWindow(L"#32770", L"Tavrel") != nullptr; }, 1800s))
        throw std::runtime_error("no message box after playback");
    run.doneUs = microseconds();
    run.playbackCpuMs = processorMs(app.process()) - cpuBefore;
    run.hostPlaybackCpuMs = host.cpuMs() - hostBefore;
    run.doneText = narrow(takeMessageBox(app).text);
    app.responsive();
    run.processCpuMs = processorMs(app.process());
    run.hostProcessCpuMs = host.cpuMs();

    std::size_t expected = 0;
    for (const auto& e : entries) expected += receiverButtonIndex(e).has_value();
    // Normally all there already; a shortfall is reported, not waited out.
    waitUntil([&] { return receiver.log().count("PRESS") >= expected; }, 10s);
    writeFile(out + L"\\mode" + name + L".log", receiver.logText());

    PostMessageW(app.main(), WM_CLOSE, 0, 0);
    app.waitForExit();
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
    const std::uint64_t start = microseconds();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        throw std::runtime_error("cannot start " + narrow(exe));
    HWND window = nullptr;
    std::uint64_t seen = 0;
    while (microseconds() - start < 30000000u) {
        for (HWND w = FindWindowExW(nullptr, nullptr, cls.c_str(), nullptr); w;
             w = FindWindowExW(nullptr, w, cls.c_str(), nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == pi.dwProcessId && IsWindowVisible(w)) window = w;
        }
        if (window) {
            seen = microseconds();
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
    const std::wstring bare = folderOfThisProgram() + L"\\tavrel_bare_window.exe";
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
        const std::uint64_t start = microseconds();
        app.click(L"Load");
        while (app.listCount() != lines) {
            if (microseconds() - start > 120000000u) throw std::runtime_error("Load did not fill the list");
            Sleep(1);
        }
        char line[64];
        std::snprintf(line, sizeof line, "load_ms=%.1f\n", static_cast<double>(microseconds() - start) / 1000.0);
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
            const bool busy = m == L'b';
            const int mode = busy ? 0 : m - L'0';
            if (mode < 0 || mode > 2) continue;
            const std::wstring name = busy ? std::wstring(L"b") : std::to_wstring(mode);
            std::printf("mode %d: playing %zu entries...\n", mode, entries.size());
            std::fflush(stdout);
            const Run run = playOnce(mode, entries, out, name, busy ? L"--busy 40" : L"");
            char text[512];
            std::snprintf(text, sizeof text,
                          "mode=%d\nentries=%zu\nclick_us=%llu\ndone_us=%llu\nplayback_cpu_ms=%.1f\n"
                          "process_cpu_ms=%.1f\nhost_playback_cpu_ms=%.1f\nhost_process_cpu_ms=%.1f\ndone_text=%s\n",
                          mode, entries.size(), static_cast<unsigned long long>(run.clickUs),
                          static_cast<unsigned long long>(run.doneUs), run.playbackCpuMs, run.processCpuMs,
                          run.hostPlaybackCpuMs, run.hostProcessCpuMs, run.doneText.c_str());
            writeFile(out + L"\\mode" + name + L".txt", text);
            std::printf("mode %d: done after %.1f s\n", mode, static_cast<double>(run.doneUs - run.clickUs) / 1e6);
            std::fflush(stdout);
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "bench failed: %s\n", failure.what());
        return 2;
    }
    return 0;
}
