// What the playback tests share: the paths they play, the main window's
// controls as they watch them, the countdown followed from outside, and the
// marker key that tells when a receiver has taken everything sent to it.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/driver.h"
#include "tests/support/receiver.h"

namespace e2e {

inline const std::vector<std::wstring> kCountdown = {L"Play", L"5 seconds", L"Ready...", L"Set", L"Go!", L"Play"};
inline const std::wstring kActionCaptions[] = {L"Record", L"Stop",    L"Play",  L"Load",
                                               L"Save",   L"Preview", L"About", L"Explore"};
inline const std::wstring kOptionCaptions[] = {L"Original", L"Surpressed (recommended)", L"Ultra-surpressed"};
inline const std::wstring kNoSound = L"No keysend sound on play";
inline const std::wstring kOnTop = L"This window always on top";

// Texts a hand-edited list file can hold that name no key string: wrong
// case, a blank around the word, another word, nothing at all.
inline const std::vector<std::string> kTextsWithoutKeys = {"up", "UP ", "JUMP", "Down", " LEFT", ""};
inline const std::vector<std::string> kDirections = {"UP", "DOWN", "LEFT", "RIGHT"};

// A reproducible path that starts with every direction and every text
// without keys, then mixes them: mostly directions, in every succession, so
// a focus left one button off by one entry shows up in the next.
std::vector<std::string> mixedPath(std::size_t size);
std::string listFileBytes(const std::vector<std::string>& entries);
std::vector<std::wstring> widened(const std::vector<std::string>& texts);
std::vector<std::string> withKeys(const std::vector<std::string>& entries);
std::size_t piecesOf(const std::vector<std::string>& entries);
std::string joined(const std::vector<std::wstring>& texts);

// Where two long sequences part, with a few items of context, instead of
// thousands of lines of both.
template <typename T>
std::string firstDifference(const std::vector<T>& seen, const std::vector<T>& expected) {
    std::size_t i = 0;
    while (i < seen.size() && i < expected.size() && seen[i] == expected[i]) ++i;
    std::ostringstream out;
    out << seen.size() << " items seen, " << expected.size() << " expected; ";
    if (i == seen.size() && i == expected.size()) return out.str() + "identical";
    out << "first difference at " << i << "\n  seen:    ";
    const std::size_t from = i < 4 ? 0 : i - 4;
    for (std::size_t k = from; k < std::min(seen.size(), i + 5); ++k) out << (k == i ? " >" : " ") << seen[k] << ";";
    out << "\n  expected:";
    for (std::size_t k = from; k < std::min(expected.size(), i + 5); ++k)
        out << (k == i ? " >" : " ") << expected[k] << ";";
    return out.str();
}

// The main window's controls, held by handle: the Play button's caption
// changes during the countdown.
struct MainControls {
    explicit MainControls(const App& app);
    // Empty when every action button is as `enabled` says, else the ones that are not.
    std::string actionsNot(bool enabled) const;
    std::string disabledOfTheRest() const;
    std::vector<HWND> actions;
    std::vector<HWND> stayUsable;
    HWND play = nullptr;
};

void loadList(const ProgramFolder& folder, const App& app, const std::vector<std::string>& entries);

// The caption in one message: a length asked for first may belong to the
// caption before, and a read of "5 seconds" then comes back as "5 se".
std::wstring captionOf(HWND window);

// Clicks Play (or runs `start`, for another way to start a playback) and
// follows the countdown on the button's caption until it reads "Play" again,
// giving `target` the foreground meanwhile, as a user would. Fails with
// everything that went wrong on the way; `captions`, when given, receives
// the captions in the order they showed, and `titles` the main window's titles.
::testing::AssertionResult playsThroughCountdown(const App& app, const MainControls& controls, HWND target,
                                                 std::vector<std::wstring>* captions = nullptr,
                                                 const std::function<void()>& start = nullptr,
                                                 std::vector<std::wstring>* titles = nullptr);

// A fresh program folder with the speed mode set, started, and `path` loaded.
struct Session {
    Session(const std::vector<std::string>& path, int mode) : entries(path), app((prepare(mode), folder)) {
        loadList(folder, app, entries);
    }
    void prepare(int mode) const { folder.write(kSettingsFile, "0\r\n1\r\n" + std::to_string(mode) + "\r\n"); }

    const std::vector<std::string> entries;
    ProgramFolder folder;
    App app;
};

// The message that ended a playback early.
struct Stop {
    std::wstring text;
    int icon = 0;
    int entry = 0;  // named in the text, 0 when it names none
};

// Waits for the message that ends the playback and takes it; the main
// window answers again afterwards.
Stop takeStop(const App& app, Millis timeout = kWait);

// The two ways a user stops a playback from outside.
enum class StopBy { Esc, FocusAway };

// A session in "Ultra-surpressed" played into a receiver of its own and
// stopped inside an entry; `other` takes the focus for StopBy::FocusAway.
struct StoppedRun {
    explicit StoppedRun(const std::vector<std::string>& path) : session(path, 2), controls(session.app) {}
    Receiver receiver;
    Receiver other;
    Session session;
    MainControls controls;
    Stop stop;
    std::vector<std::string> events;  // the receiver's, up to the stop
    int walk = 0;                     // after Esc, down-arrows walked back up
    std::size_t resumeFrom = 0;       // after Esc, as walkedBackAfterEsc gives it
};

// Plays `path`, whose second entry must be "UP", and stops it as soon as
// the receiver has logged the first entry's events and `intoSecond` more.
// The 0.05 s before every piece lands the stop within a piece or two of the
// aim; it must come inside an entry: after Esc, before the entry's press,
// so that the focus is walked back at least one button; after the focus
// moved, with some of the entry's pieces sent and some not. When it came
// elsewhere (the machine busy), the attempt is played again in a new
// session, three attempts at most. Each attempt ends with the marker key.
::testing::AssertionResult stopInsideSecondEntry(const std::vector<std::string>& path, std::size_t intoSecond,
                                                 StopBy by, std::unique_ptr<StoppedRun>& out);

// How often Esc went down in the receiver's `events`.
std::ptrdiff_t escPresses(const std::vector<std::string>& events);

// What Esc at `entry` (1-based, as the stop names it) must leave in the
// receiver, Esc's own key events aside: the entries before it, then of that
// entry either some down-arrows walked back up with as many up-arrows and no
// press, or the whole entry. `resumeFrom` receives the 0-based entry a
// resumed playback carries on from, so that the log after it must read
// `events` + expectedReceiverEvents(entries from there on); `walk`, when
// given, how many down-arrows were walked back (0 for the whole entry).
::testing::AssertionResult walkedBackAfterEsc(const std::vector<std::string>& events,
                                              const std::vector<std::string>& entries, int entry,
                                              std::size_t* resumeFrom, int* walk = nullptr);

// The receiver's log after Esc in the middle of an entry and a resume, Esc's
// own key events aside: every event of the path once, in order, with at most
// one walk down and back up, without a press, just before some entry; of at
// least `leastWalk` down-arrows.
::testing::AssertionResult wholePathOnceAfterEsc(const std::vector<std::string>& events,
                                                 const std::vector<std::string>& entries, int leastWalk = 0);

// Sends a key the player never sends and waits until the receiver has
// logged it: everything queued for the receiver before it has been handled
// by then, because key input reaches a window in the order it was sent.
::testing::AssertionResult markEndOfInput(const Receiver& receiver);

// The receiver's events before the last marker key, earlier markers left out.
std::vector<std::string> eventsBeforeMarker(const ReceiverLog& log);

}  // namespace e2e
