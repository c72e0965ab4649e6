// Measures a recording of tavrel.exe from outside, under Wine, and prints the
// figures as Markdown (recorder_bench.sh runs it on a virtual display):
//
// 1. The processor time of tavrel.exe during an idle recording, from
//    GetProcessTimes and from Linux's own account (/proc/PID/stat through
//    Wine's Z: drive), with the time of the Wine server it keeps busy: once
//    with the pointer away from the window, once resting on Record with its
//    tool tip shown (timers then fire in the program all the time: the tool
//    tip's, and under Wine the button's mouse tracking, about every 9 ms).
// 2. Its poll passes per second, estimated: every pass makes the same number
//    of requests to the Wine server (one write(2) each), so the program's
//    write count (/proc/PID/io) over the recording, divided by the writes per
//    pass of a copy of the loop run here, counts its passes. The copy's own
//    passes per second are printed beside it.
// 3. The shortest tap still caught every time: taps sent with SendInput,
//    held for a descending series of times down to 0 ms, each counted as
//    caught when its entry appears. Once as they come, and once with the
//    key's "pressed since the last read" bit taken by this process right
//    after the press, as another program polling the arrows would take it:
//    then only a poll while the key is down catches the tap.
// 4. Presses close together: two arrows 8 ms apart, which must come out in
//    the order pressed, and one arrow released and pressed again 15 ms
//    later, which must give two entries; each after a pause at a person's
//    pace.
//
// Usage: tavrel_recorder_bench [TAPS] [SECONDS]
//   TAPS     taps per hold time, 200 unless given
//   SECONDS  length of the idle recording, 10 unless given

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/event_pump.h"
#include "tests/support/clock.h"
#include "tests/support/driver.h"
#include "tests/support/key_sink.h"
#include "tests/support/processes.h"

namespace {

using namespace e2e;

const WORD kArrows[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
const wchar_t* const kEntries[] = {L"LEFT", L"UP", L"RIGHT", L"DOWN"};

// The program's poll loop as this process can run it, with the program's own
// event pump: one pump of pending events, four key polls, one clock reading,
// and a wait for input until a millisecond later. Its key polls take the
// "pressed since" bits, so it only runs while no recording is going on.
struct LoopCopy {
    double passesPerSecond = 0;
    double writesPerPass = 0;
};

LoopCopy runLoopCopy(double duration) {
    const HostProcess self = HostProcess::self();
    tavrel::win32::Win32EventPump events;
    volatile SHORT sink = 0;
    events.beginWaiting();
    const long long writesBefore = self.writes();
    const double start = seconds();
    double now = start;
    long long passes = 0;
    while (now - start < duration) {
        events.pump();
        for (WORD vk : kArrows) sink = static_cast<SHORT>(sink | GetAsyncKeyState(vk));
        now = seconds();
        events.waitForInput(now + 0.001);
        ++passes;
    }
    const long long writesAfter = self.writes();
    events.endWaiting();
    LoopCopy copy;
    copy.passesPerSecond = static_cast<double>(passes) / (now - start);
    if (writesBefore >= 0 && writesAfter >= 0)
        copy.writesPerPass = static_cast<double>(writesAfter - writesBefore) / static_cast<double>(passes);
    return copy;
}

void holdUntil(double when) {
    while (seconds() < when) {
    }
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    std::size_t index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

struct TapRow {
    double holdMs = 0;
    int taps = 0;
    int caught = 0;
    int wrong = 0;                 // an entry other than the key tapped
    double meanHeldMs = 0;         // down to up as sent
    std::vector<double> latencyMs;  // press to entry seen, caught taps only
    int programFirst = 0;          // bit already taken by the program when this process read it
};

// Taps as they come: caught when its entry appears within half a second
// (ten times Wine's 50 ms key-state cache).
TapRow tapsAsTheyCome(const App& app, const KeySink& keys, double holdMs, int taps) {
    TapRow row;
    row.holdMs = holdMs;
    double heldTotal = 0;
    for (int i = 0; i < taps; ++i) {
        const int slot = i % 4;
        const int before = app.listCount();
        keys.take();
        const double down = seconds();
        pressKey(kArrows[slot], true);
        holdUntil(down + holdMs / 1000.0);
        pressKey(kArrows[slot], false);
        heldTotal += seconds() - down;
        double seen = -1;
        while (seconds() < down + 0.5) {
            if (app.listCount() > before) {
                seen = seconds();
                break;
            }
            Sleep(1);
        }
        ++row.taps;
        if (seen >= 0) {
            ++row.caught;
            row.latencyMs.push_back((seen - down) * 1000.0);
            if (app.listItem(before) != kEntries[slot]) ++row.wrong;
        }
        // The release must be seen before the same key goes down again.
        if (!passCompleted(app)) throw std::runtime_error("the program stopped answering");
        pumpOwnMessages();
    }
    row.meanHeldMs = heldTotal / taps * 1000.0;
    return row;
}

// Key changes of one pattern, at times after its start, and the entries it
// must give, as slots into kArrows counted from the pattern's first key.
struct PatternStep {
    int slot;
    bool down;
    double atMs;
};

struct Pattern {
    const char* name;
    std::vector<PatternStep> steps;
    std::vector<int> entries;
};

struct PatternRow {
    int runs = 0;
    int right = 0;     // exactly the entries expected, in order
    int reordered = 0;  // the right entries in another order
    int missing = 0;    // fewer entries than expected
    int extra = 0;      // more entries than expected
};

// Each run after a pause at a person's pace (0.2 s with no key down), as
// when walking; the first key of run i is arrow i % 4 and the second arrow of
// a pair runs through the other three, so pairs against the polling order
// come as often as pairs along it.
PatternRow playPattern(const App& app, const KeySink& keys, const Pattern& pattern, int runs) {
    PatternRow row;
    for (int i = 0; i < runs; ++i) {
        const int first = i % 4;
        const int other = (first + 1 + (i / 4) % 3) % 4;
        auto arrow = [&](int slot) { return slot == 0 ? first : other; };
        // Read before the pause: a message to the program right before the
        // press would make it read the key state then, and under Wine a
        // thread that has just read it is blind to new presses for 50 ms.
        const int before = app.listCount();
        keys.take();
        const double pause = seconds();
        pumpUntil([&] { return seconds() > pause + 0.2; });
        const double start = seconds();
        for (const PatternStep& step : pattern.steps) {
            holdUntil(start + step.atMs / 1000.0);
            pressKey(kArrows[arrow(step.slot)], step.down);
        }
        const std::size_t want = pattern.entries.size();
        waitUntil([&] { return app.listCount() >= before + static_cast<int>(want); }, std::chrono::milliseconds(500));
        if (!passCompleted(app)) throw std::runtime_error("the program stopped answering");
        pumpOwnMessages();
        ++row.runs;
        const int got = app.listCount() - before;
        std::vector<std::wstring> seen;
        for (int k = 0; k < got; ++k) seen.push_back(app.listItem(before + k));
        std::vector<std::wstring> expected;
        for (int slot : pattern.entries) expected.push_back(kEntries[arrow(slot)]);
        if (seen == expected) {
            ++row.right;
        } else if (got < static_cast<int>(want)) {
            ++row.missing;
        } else if (got > static_cast<int>(want)) {
            ++row.extra;
        } else {
            std::sort(seen.begin(), seen.end());
            std::sort(expected.begin(), expected.end());
            if (seen == expected) ++row.reordered;
            else ++row.missing;
        }
    }
    return row;
}

struct Taker {
    WORD vk = 0;
    SHORT seen = 0;
    HANDLE go = nullptr;
    HANDLE done = nullptr;
};

// A fresh thread has no cached key state under Wine, so its first
// GetAsyncKeyState always asks the server and so takes the bit.
DWORD WINAPI takeBit(void* param) {
    auto* taker = static_cast<Taker*>(param);
    WaitForSingleObject(taker->go, INFINITE);
    taker->seen = GetAsyncKeyState(taker->vk);
    SetEvent(taker->done);
    return 0;
}

// Taps whose "pressed since" bit this process takes at once: caught only by
// a poll while the key is down. Once the key is up and the program has run a
// pass, the count is final.
TapRow tapsWithTheBitTaken(const App& app, const KeySink& keys, double holdMs, int taps) {
    TapRow row;
    row.holdMs = holdMs;
    double heldTotal = 0;
    for (int i = 0; i < taps; ++i) {
        const int slot = i % 4;
        const int before = app.listCount();
        Taker taker;
        taker.vk = kArrows[slot];
        taker.go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        taker.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE thread = CreateThread(nullptr, 0, takeBit, &taker, 0, nullptr);
        if (!thread) throw std::runtime_error("cannot start a thread");
        keys.take();
        const double down = seconds();
        pressKey(kArrows[slot], true);
        SetEvent(taker.go);
        while (WaitForSingleObject(taker.done, 0) != WAIT_OBJECT_0) {
        }
        holdUntil(down + holdMs / 1000.0);
        pressKey(kArrows[slot], false);
        heldTotal += seconds() - down;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(taker.go);
        CloseHandle(taker.done);
        if (!(taker.seen & 0x0001)) ++row.programFirst;
        if (!passCompleted(app)) throw std::runtime_error("the program stopped answering");
        pumpOwnMessages();
        ++row.taps;
        const int after = app.listCount();
        if (after > before) {
            ++row.caught;
            if (app.listItem(before) != kEntries[slot]) ++row.wrong;
        }
        if (after > before + 1) row.wrong += after - before - 1;
    }
    row.meanHeldMs = heldTotal / taps * 1000.0;
    return row;
}

std::string fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

struct IdleFigures {
    double wall = 0;
    double timesMs = -1;   // GetProcessTimes
    double linuxMs = -1;   // /proc, -1 where not found
    double serverMs = -1;  // the Wine server's, likewise
    long long writes = -1;
};

// Processor time and server requests of the program over `seconds` of a
// recording with no key down; this process only pumps its own messages.
IdleFigures measureIdle(const App& app, const HostProcess& program, const HostProcess& server, double seconds) {
    IdleFigures f;
    const double wallBefore = e2e::seconds();
    const double timesBefore = processorMs(app.pid());
    const double linuxBefore = program.cpuMs();
    const double serverBefore = server.cpuMs();
    const long long writesBefore = program.writes();
    pumpUntil([&] { return e2e::seconds() > wallBefore + seconds; },
              std::chrono::milliseconds(static_cast<long long>(seconds * 2000)));
    f.wall = e2e::seconds() - wallBefore;
    f.timesMs = processorMs(app.pid()) - timesBefore;
    if (linuxBefore >= 0) f.linuxMs = program.cpuMs() - linuxBefore;
    if (serverBefore >= 0) f.serverMs = server.cpuMs() - serverBefore;
    if (writesBefore >= 0) f.writes = program.writes() - writesBefore;
    return f;
}

// A screen point off the program's window, for a pointer that must stir
// nothing there.
POINT pointerAway(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    POINT p{width - 1, height - 1};
    if (p.x < r.right && p.y < r.bottom) p = {0, height - 1};
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) p = {width - 1, 0};
    return p;
}

void run(int taps, double idleSeconds) {
    KeySink keys;
    if (!keys.take()) throw std::runtime_error("the key window did not get the foreground");

    // The copy of the loop first, while nothing records.
    const LoopCopy copy = runLoopCopy(3.0);

    ProgramFolder folder;
    App app(folder);
    folder.write(L"TavrelXP.txt", "UP\r\n");
    app.click(L"Load");
    if (!waitUntil([&] { return app.listCount() == 1; })) throw std::runtime_error("Load did not fill the list");
    app.click(L"Record");
    if (!waitUntil([&] { return app.listCount() == 0; })) throw std::runtime_error("Record did not empty the list");
    const double recordSeen = seconds();
    if (!keys.take()) throw std::runtime_error("the key window did not get the foreground");
    pumpUntil([&] { return seconds() > recordSeen + 0.25; });

    // The idle recording, the pointer away from the window, then resting on
    // Record with its tool tip shown.
    const HostProcess program = HostProcess::find({narrow(folder.name())});
    char prefix[1024] = "";
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    const HostProcess server = HostProcess::find({"wineserver"}, std::string("WINEPREFIX=") + prefix);
    const POINT away = pointerAway(app.main());
    SetCursorPos(away.x, away.y);
    const IdleFigures awayFigures = measureIdle(app, program, server, idleSeconds);
    RECT record;
    GetWindowRect(app.button(L"Record"), &record);
    // Two positions: a pointer that lands without moving makes no tool tip.
    SetCursorPos((record.left + record.right) / 2 - 1, (record.top + record.bottom) / 2);
    SetCursorPos((record.left + record.right) / 2, (record.top + record.bottom) / 2);
    const bool tipShown =
        app.waitForWindow(L"tooltips_class32", L"Record keystrokes", std::chrono::seconds(10)) != nullptr;
    const IdleFigures onRecordFigures = measureIdle(app, program, server, idleSeconds);
    const bool tipStillShown = app.findWindow(L"tooltips_class32", L"Record keystrokes") != nullptr;
    SetCursorPos(away.x, away.y);
    if (!keys.take()) throw std::runtime_error("the key window did not get the foreground");

    std::printf("### Idle recording, %.1f s each\n\n", awayFigures.wall);
    // The tip hides itself after about 5 s; its window's timer goes on
    // while the pointer stays on the button.
    std::printf("| measure | pointer away | pointer resting on Record (tool tip %s, %s at the end) |\n"
                "|---|---|---|\n",
                tipShown ? "shown" : "NOT shown", tipStillShown ? "still shown" : "hidden");
    auto share = [](double ms, double wall) {
        return ms < 0 ? std::string("n/a") : fixed(ms / 1000, 2) + " s (" + fixed(ms / wall / 10, 1) + " % of one core)";
    };
    std::printf("| tavrel.exe processor time, GetProcessTimes | %s | %s |\n",
                share(awayFigures.timesMs, awayFigures.wall).c_str(),
                share(onRecordFigures.timesMs, onRecordFigures.wall).c_str());
    std::printf("| tavrel.exe processor time, Linux /proc | %s | %s |\n",
                share(awayFigures.linuxMs, awayFigures.wall).c_str(),
                share(onRecordFigures.linuxMs, onRecordFigures.wall).c_str());
    std::printf("| wineserver processor time, Linux /proc | %s | %s |\n",
                share(awayFigures.serverMs, awayFigures.wall).c_str(),
                share(onRecordFigures.serverMs, onRecordFigures.wall).c_str());
    auto perSecond = [](long long writes, double wall, double per) {
        return writes < 0 || per <= 0 ? std::string("n/a") : fixed(static_cast<double>(writes) / wall / per, 0);
    };
    std::printf("| tavrel.exe requests to the Wine server (write calls) per second | %s | %s |\n",
                perSecond(awayFigures.writes, awayFigures.wall, 1).c_str(),
                perSecond(onRecordFigures.writes, onRecordFigures.wall, 1).c_str());
    std::printf("| tavrel.exe passes per second, estimated | %s | %s |\n",
                perSecond(awayFigures.writes, awayFigures.wall, copy.writesPerPass).c_str(),
                perSecond(onRecordFigures.writes, onRecordFigures.wall, copy.writesPerPass).c_str());
    std::printf("\nThe copy of the loop in the benchmark, alone: %s passes per second, %s writes per pass.\n\n",
                fixed(copy.passesPerSecond, 0).c_str(), fixed(copy.writesPerPass, 3).c_str());
    std::fflush(stdout);

    const double holds[] = {20, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0};
    std::printf("### Taps as they come, %d per hold time\n\n", taps);
    std::printf("| hold (ms) | held, mean (ms) | caught | wrong entry | press to entry, median (ms) | 95th (ms) "
                "| max (ms) |\n|---|---|---|---|---|---|---|\n");
    for (double hold : holds) {
        TapRow row = tapsAsTheyCome(app, keys, hold, taps);
        std::printf("| %s | %s | %d of %d | %d | %s | %s | %s |\n", fixed(hold, 1).c_str(),
                    fixed(row.meanHeldMs, 3).c_str(), row.caught, row.taps, row.wrong,
                    fixed(percentile(row.latencyMs, 0.5), 1).c_str(), fixed(percentile(row.latencyMs, 0.95), 1).c_str(),
                    fixed(percentile(row.latencyMs, 1.0), 1).c_str());
        std::fflush(stdout);
    }

    const Pattern patterns[] = {
        {"two arrows 8 ms apart, held 20 ms more", {{0, true, 0}, {1, true, 8}, {0, false, 28}, {1, false, 28}}, {0, 1}},
        {"the same arrow 15 ms down, 15 ms up, 15 ms down",
         {{0, true, 0}, {0, false, 15}, {0, true, 30}, {0, false, 45}},
         {0, 0}},
    };
    std::printf("\n### Presses close together, %d runs each\n\n", taps);
    std::printf("| pattern | right entries in order | reordered | missing | extra |\n|---|---|---|---|---|\n");
    for (const Pattern& pattern : patterns) {
        const PatternRow row = playPattern(app, keys, pattern, taps);
        std::printf("| %s | %d of %d | %d | %d | %d |\n", pattern.name, row.right, row.runs, row.reordered,
                    row.missing, row.extra);
        std::fflush(stdout);
    }

    const double takenHolds[] = {100, 60, 50, 40, 20, 10, 5, 2, 1, 0};
    std::printf("\n### Taps with the \"pressed since\" bit taken at once, %d per hold time\n\n", taps);
    std::printf("| hold (ms) | held, mean (ms) | caught | wrong entry | bit already taken by the program "
                "|\n|---|---|---|---|---|\n");
    for (double hold : takenHolds) {
        TapRow row = tapsWithTheBitTaken(app, keys, hold, taps);
        std::printf("| %s | %s | %d of %d | %d | %d |\n", fixed(hold, 1).c_str(), fixed(row.meanHeldMs, 3).c_str(),
                    row.caught, row.taps, row.wrong, row.programFirst);
        std::fflush(stdout);
    }

    app.click(L"Stop");
    MessageBoxSeen box = takeMessageBox(app);
    if (box.text != L"Recording halted.")
        std::fprintf(stderr, "Stop showed \"%s\" instead of \"Recording halted.\"\n", narrow(box.text).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const int taps = argc > 1 ? std::atoi(argv[1]) : 200;
    const double idleSeconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    if (taps <= 0 || idleSeconds <= 0) {
        std::fprintf(stderr, "usage: tavrel_recorder_bench [TAPS] [SECONDS]\n");
        return 2;
    }
    try {
        run(taps, idleSeconds);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "recorder benchmark failed: %s\n", failure.what());
        return 1;
    }
    return 0;
}
