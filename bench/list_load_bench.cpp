// Loads huge list files into tavrel.exe under Wine and measures it from
// outside (list_load_bench.sh runs it on a virtual display):
//
// - the peak working set of tavrel.exe (GetProcessMemoryInfo), before the
//   load and after it;
// - the longest time its main window did not answer: a WM_NULL is sent to it
//   again and again from the click on Load until the notice about the lines
//   left out appears, and the longest round trip is taken;
// - the time from the click to that notice (or, for a file the list takes
//   whole, to the last entry shown), and the entries then in the list.
//
// Usage: tavrel_list_load_bench
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/support/driver.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

struct Input {
    const char* name;
    std::string (*make)();
    bool notice;  // more lines than the list takes: Load ends with a notice
};

// 100 MB of pseudo-random bytes: a CR every 256 bytes on average, so about
// 400,000 lines of binary junk.
std::string junk() {
    std::string bytes(100u * 1000 * 1000, '\0');
    std::uint64_t x = 0x9E3779B97F4A7C15u;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        c = static_cast<char>(x >> 56);
    }
    return bytes;
}

// Exactly a full list: the cost of showing 32,767 entries alone.
std::string fullList() {
    std::string bytes;
    for (int i = 0; i < 32767; ++i) bytes += (i % 2 ? "UP\r\n" : "DOWN\r\n");
    return bytes;
}

std::string millionLines() {
    std::string bytes;
    const char* entries[] = {"UP\r\n", "DOWN\r\n", "LEFT\r\n", "RIGHT\r\n"};
    for (int i = 0; i < 1000000; ++i) bytes += entries[i % 4];
    return bytes;
}

double peakMegabytes(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    BOOL ok = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
    if (process) CloseHandle(process);
    return ok ? static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0) : -1.0;
}

double millisSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

}  // namespace

int main() {
    const Input inputs[] = {{"32,767 lines (a full list)", fullList, false},
                            {"1,000,000 lines", millionLines, true},
                            {"100 MB of random bytes", junk, true}};
    std::printf("| file | size (MB) | peak working set before Load (MB) | peak working set after (MB) | "
                "longest unanswered (ms) | click to loaded (ms) | entries |\n|---|---|---|---|---|---|---|\n");
    for (const Input& input : inputs) {
        ProgramFolder folder;
        const std::string bytes = input.make();
        folder.write(L"TavrelXP.txt", bytes);
        App app(folder);
        if (!app.responsive()) return 1;
        const double before = peakMegabytes(app.pid());
        const Clock::time_point clicked = Clock::now();
        app.click(L"Load");
        double longest = 0;
        auto loading = [&] { return input.notice ? noMessageBox(app) : app.listCount() != 32767; };
        while (loading() && millisSince(clicked) < 300000) {
            const Clock::time_point sent = Clock::now();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(app.main(), WM_NULL, 0, 0, SMTO_NORMAL, 300000, &ignored);
            const double took = millisSince(sent);
            if (took > longest) longest = took;
            Sleep(10);
        }
        const double toNotice = millisSince(clicked);
        MessageBoxSeen box;
        if (input.notice) box = takeMessageBox(app);
        app.responsive();
        std::printf("| %s | %.1f | %.1f | %.1f | %.0f | %.0f | %d |\n", input.name,
                    static_cast<double>(bytes.size()) / 1e6, before, peakMegabytes(app.pid()), longest, toNotice,
                    app.listCount());
        if (input.notice) std::fprintf(stderr, "%s: the notice said \"%s\"\n", input.name, narrow(box.text).c_str());
        std::fflush(stdout);
    }
    return 0;
}
