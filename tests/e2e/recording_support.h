// What the Recorder tests share: a running recording with the driver's key
// window in front, keys held down safely, and the checks that read the list,
// Stop's message and the saved file.
//
// The keys are typed into a window of this process, never into the program:
// the program reads the system-wide key state, as it does while the user
// walks in the editor. For the X server path this process starts xdotool
// itself (Wine runs a Linux program handed to CreateProcess) and gives that
// window the X focus; Wine turns its X key events into key input while this
// process pumps. So both paths run in one process with the same checks, and
// every wait stays bounded and condition-based.
//
// Wine 8 answers GetAsyncKeyState for a key that was up from a per-thread
// copy of the key state for up to 50 ms, so the program may see a press up
// to 50 ms late (27-43 ms median in the recorder benchmark).
// Checks that nothing else was recorded therefore end with another arrow
// pressed afterwards that must come out alone: the program reads all keys
// afresh at once, so anything wrongly recorded before that press comes out
// first, or in the same pass.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/clock.h"
#include "tests/support/driver.h"
#include "tests/support/key_sink.h"
#include "tests/support/xdotool.h"

namespace e2e {

inline const std::wstring kLeft = L"LEFT", kUp = L"UP", kRight = L"RIGHT", kDown = L"DOWN";
using Entries = std::vector<std::wstring>;

// After Record the program records nothing for this long.
inline constexpr double kGraceSeconds = 0.25;

std::string show(const Entries& entries);
std::string showBytes(const std::string& bytes);

::testing::AssertionResult takeForeground(const KeySink& sink);
::testing::AssertionResult tap(const KeySink& sink, WORD vk);

// Fills the list through Load, so that Record can be seen emptying it.
void preload(const ProgramFolder& folder, const App& app, const std::string& bytes, const Entries& expected);

// Clicks Record on a non-empty list and returns a moment after the program
// took its start time, or a negative value if Record never emptied the list.
// Record empties the list first thing, and from outside the emptiness can
// only be read inside the event pump of the recording loop, which runs after
// the start time is taken.
double clickRecord(const App& app);

// Waits until the grace period that began at or before `recordSeen` is over.
// Its end shows nowhere, so the wait is on the monotonic clock the program
// also reads.
void waitOutGrace(double recordSeen);

// Waits until the list holds as many entries as `expected`, then until the
// program has polled the keys once more, so that the next press of the same
// key is a new one; the list must then be exactly `expected`.
::testing::AssertionResult listBecomes(const App& app, const Entries& expected);

// A running program in a recording whose grace period is over, and the
// driver's key window in the foreground.
struct Recording {
    ProgramFolder folder;
    App app{folder};
    KeySink sink;
    Recording();
};

// Releases a key pressed through SendInput even when an assertion ends the
// test early, so that the next test starts with every key up.
struct HeldKey {
    WORD vk;
    explicit HeldKey(WORD key) : vk(key) { pressKey(vk, true); }
    ~HeldKey() { pressKey(vk, false); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
};

// The same through the X server.
struct XHeldKey {
    const ProgramFolder& folder;
    std::string key;
    std::string error;
    XHeldKey(const ProgramFolder& f, std::string name) : folder(f), key(std::move(name)) {
        error = xdotool(folder, "keydown " + key);
    }
    ~XHeldKey() { xdotool(folder, "keyup " + key); }
    XHeldKey(const XHeldKey&) = delete;
    XHeldKey& operator=(const XHeldKey&) = delete;
};

// Clicks Stop and takes its "Recording halted." box.
::testing::AssertionResult stopsWithHalted(const App& app);
// Clicks Save and reads back exactly `expected`.
::testing::AssertionResult savesAs(const ProgramFolder& folder, const App& app, const std::string& expected);

// Gives the X keyboard focus to the driver's key window, so that keys typed
// through the X server reach this process, and the Win32 foreground with it.
::testing::AssertionResult xFocus(const ProgramFolder& folder, const KeySink& sink);
// Taps keys (X key names, separated by spaces) through the X server.
::testing::AssertionResult xTap(const ProgramFolder& folder, const std::string& keys);

}  // namespace e2e
