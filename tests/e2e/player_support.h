// What the playback tests share: the paths they play, the main window's
// controls as they watch them, the countdown followed from outside, and the
// marker key that tells when a receiver has taken everything sent to it.
#pragma once

#include <algorithm>
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

// Clicks Play and follows the countdown on the button's caption until it
// reads "Play" again, giving `target` the foreground meanwhile, as a user
// would. Fails with everything that went wrong on the way; `captions`, when
// given, receives the captions in the order they showed.
::testing::AssertionResult playsThroughCountdown(const App& app, const MainControls& controls, HWND target,
                                                 std::vector<std::wstring>* captions = nullptr);

// Sends a key the player never sends and waits until the receiver has
// logged it: everything queued for the receiver before it has been handled
// by then, because key input reaches a window in the order it was sent.
::testing::AssertionResult markEndOfInput(const Receiver& receiver);

// The receiver's events before the marker key.
std::vector<std::string> eventsBeforeMarker(const ReceiverLog& log);

}  // namespace e2e
