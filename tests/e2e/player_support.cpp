#include "tests/e2e/player_support.h"

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <regex>

#include <gtest/gtest.h>

namespace e2e {

std::vector<std::string> mixedPath(std::size_t size) {
    std::vector<std::string> path = {"UP", "UP", "DOWN", "DOWN", "LEFT", "RIGHT", "LEFT", "UP", "RIGHT", "DOWN"};
    path.insert(path.begin() + 5, kTextsWithoutKeys.begin(), kTextsWithoutKeys.end());
    std::uint32_t state = 20240229u;
    while (path.size() < size) {
        state = state * 1664525u + 1013904223u;
        const std::uint32_t pick = (state >> 8) % 40u;
        path.push_back(pick < 37u ? kDirections[pick % 4u] : kTextsWithoutKeys[pick % kTextsWithoutKeys.size()]);
    }
    path.resize(size);
    return path;
}

std::string listFileBytes(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const auto& e : entries) bytes += e + "\r\n";
    return bytes;
}

std::vector<std::wstring> widened(const std::vector<std::string>& texts) {
    std::vector<std::wstring> out;
    for (const auto& t : texts) out.push_back(widen(t));
    return out;
}

std::vector<std::string> withKeys(const std::vector<std::string>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        if (receiverButtonIndex(e)) out.push_back(e);
    return out;
}

std::size_t piecesOf(const std::vector<std::string>& entries) {
    std::size_t n = 0;
    for (const auto& e : entries)
        if (auto i = receiverButtonIndex(e)) n += 1 + 2 * static_cast<std::size_t>(*i);
    return n;
}

std::string joined(const std::vector<std::wstring>& texts) {
    std::string out;
    for (const auto& t : texts) out.append(out.empty() ? "\"" : ", \"").append(narrow(t)).append("\"");
    return out;
}

MainControls::MainControls(const App& app) {
    for (const auto& caption : kActionCaptions) actions.push_back(app.button(caption));
    for (const auto& caption : kOptionCaptions) stayUsable.push_back(app.button(caption));
    stayUsable.push_back(app.button(kNoSound));
    stayUsable.push_back(app.button(kOnTop));
    stayUsable.push_back(app.list());
    play = actions[2];
}

std::string MainControls::actionsNot(bool enabled) const {
    std::string out;
    for (std::size_t i = 0; i < actions.size(); ++i)
        if ((IsWindowEnabled(actions[i]) != FALSE) != enabled) out.append(" ").append(narrow(kActionCaptions[i]));
    return out;
}

std::string MainControls::disabledOfTheRest() const {
    std::string out;
    for (HWND w : stayUsable)
        if (!IsWindowEnabled(w)) out.append(" #").append(std::to_string(GetDlgCtrlID(w)));
    return out;
}

void loadList(const ProgramFolder& folder, const App& app, const std::vector<std::string>& entries) {
    folder.write(kListFile, listFileBytes(entries));
    app.click(L"Load");
    ASSERT_TRUE(waitUntil([&] { return app.listItems().size() == entries.size(); }))
        << "after Load the list holds " << app.listItems().size() << " entries, expected " << entries.size();
    ASSERT_EQ(app.listItems(), widened(entries));
    ASSERT_TRUE(noMessageBox(app)) << "Load reported something";
}

std::wstring captionOf(HWND window) {
    wchar_t buffer[256] = {};
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                             &got))
        return L"(no answer)";
    return std::wstring(buffer, got);
}

::testing::AssertionResult playsThroughCountdown(const App& app, const MainControls& controls, HWND target,
                                                 std::vector<std::wstring>* seen, const std::function<void()>& start,
                                                 std::vector<std::wstring>* titles) {
    std::vector<std::string> problems;
    std::vector<std::wstring> captions = {captionOf(controls.play)};
    if (titles) *titles = {windowText(app.main())};
    std::string enabledActions, disabledRest;
    bool hadForeground = false;
    if (start)
        start();
    else
        app.click(L"Play");
    // A step lasts a second; polls come every 20 ms, so none is missed.
    const bool ended = waitUntil(
        [&] {
            // Read before the caption: when the caption still shows the
            // countdown afterwards, these readings were taken during it, not
            // after a playback with nothing to send had already ended.
            const std::string actions = controls.actionsNot(false);
            const std::string rest = controls.disabledOfTheRest();
            const bool foreground = GetForegroundWindow() == target;
            const std::wstring caption = captionOf(controls.play);
            if (caption != captions.back()) captions.push_back(caption);
            const bool started = captions.size() > 1;
            const bool over = started && caption == L"Play";
            if (started && !over) {
                if (enabledActions.empty()) enabledActions = actions;
                if (disabledRest.empty()) disabledRest = rest;
            }
            if (!over && titles) {
                const std::wstring title = windowText(app.main());
                if (title != titles->back()) titles->push_back(title);
            }
            if (!over) {
                hadForeground = hadForeground || foreground;
                if (!foreground) SetForegroundWindow(target);
            }
            return over || captions.size() > kCountdown.size();
        },
        30s);
    if (!ended) problems.push_back("the countdown did not end within 30 s");
    if (!enabledActions.empty())
        problems.push_back("during the countdown these actions were enabled:" + enabledActions);
    if (!disabledRest.empty()) problems.push_back("during the countdown these controls were disabled:" + disabledRest);
    if (!hadForeground) problems.push_back("the target never had the foreground during the countdown");
    if (seen) *seen = captions;
    if (problems.empty()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "the countdown showed " << joined(captions);
    for (const auto& p : problems) failure << "; " << p;
    return failure;
}

::testing::AssertionResult markEndOfInput(const Receiver& receiver) {
    if (!receiver.bringForward())
        return ::testing::AssertionFailure() << "the receiver did not come back to the foreground for the marker key";
    // A receiver marked before already holds a marker: only a new one counts.
    const std::string marker = "KEYUP " + std::to_string(VK_F8);
    const auto markers = [&] { return std::ranges::count(receiver.log().events(), marker); };
    const auto before = markers();
    tapKey(VK_F8);
    if (!waitUntil([&] { return markers() > before; }))
        return ::testing::AssertionFailure() << "the marker key never reached the receiver";
    return ::testing::AssertionSuccess();
}

std::vector<std::string> eventsBeforeMarker(const ReceiverLog& log) {
    std::vector<std::string> events = log.events();
    const std::string down = "KEYDOWN " + std::to_string(VK_F8), up = "KEYUP " + std::to_string(VK_F8);
    const auto last = std::find(events.rbegin(), events.rend(), down);
    if (last != events.rend()) events.erase(std::prev(last.base()), events.end());
    std::erase_if(events, [&](const std::string& e) { return e == down || e == up; });
    return events;
}

Stop takeStop(const App& app, Millis timeout) {
    const MessageBoxSeen box = takeMessageBox(app, timeout);
    Stop stop{box.text, box.icon, 0};
    std::wsmatch m;
    if (std::regex_search(stop.text, m, std::wregex(L"^Playback stopped at entry (\\d+) of ")))
        stop.entry = std::stoi(m[1].str());
    EXPECT_TRUE(app.responsive());
    return stop;
}

::testing::AssertionResult stopInsideSecondEntry(const std::vector<std::string>& path, std::size_t intoSecond,
                                                 StopBy by, std::unique_ptr<StoppedRun>& out) {
    if (path.size() < 2 || path[1] != "UP") return ::testing::AssertionFailure() << "the path's second entry is not UP";
    const std::size_t aim = expectedReceiverEvents({path[0]}).size() + intoSecond;
    constexpr int kAttempts = 3;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        out.reset();  // the last attempt's programs end before the next start
        out = std::make_unique<StoppedRun>(path);
        StoppedRun& e = *out;
        if (auto started = playsThroughCountdown(e.session.app, e.controls, e.receiver.dialog()); !started)
            return started;
        if (!waitUntil([&] { return e.receiver.log().lines.size() >= aim; }))
            return ::testing::AssertionFailure() << "only " << e.receiver.log().lines.size() << " of the " << aim
                                                 << " key events to wait for arrived";
        if (by == StopBy::Esc)
            tapKey(VK_ESCAPE);
        else if (!e.other.bringForward())
            return ::testing::AssertionFailure() << "the other dialog did not take the focus";
        e.stop = takeStop(e.session.app);
        if (e.stop.entry == 0)
            return ::testing::AssertionFailure() << "the stop said \"" << narrow(e.stop.text) << "\"";
        if (auto marked = markEndOfInput(e.receiver); !marked) return marked;
        e.events = eventsBeforeMarker(e.receiver.log());
        if (by == StopBy::Esc) {
            if (auto walked = walkedBackAfterEsc(e.events, path, e.stop.entry, &e.resumeFrom, &e.walk); !walked)
                return walked;
            if (e.walk > 0) return ::testing::AssertionSuccess();
        } else {
            const std::vector<std::string> expected = expectedReceiverEvents(path);
            if (e.events.size() > expected.size() ||
                !std::equal(e.events.begin(), e.events.end(), expected.begin()))
                return ::testing::AssertionFailure() << "up to the stop: " << firstDifference(e.events, expected);
            const auto upTo = [&](int n) {
                return expectedReceiverEvents({path.begin(), path.begin() + n}).size();
            };
            if (e.events.size() > upTo(e.stop.entry - 1) && e.events.size() < upTo(e.stop.entry))
                return ::testing::AssertionSuccess();
        }
        std::printf("attempt %d: the stop at entry %d did not come inside it\n", attempt, e.stop.entry);
        std::fflush(stdout);
    }
    return ::testing::AssertionFailure() << "in " << kAttempts << " attempts the stop never came inside an entry";
}

std::ptrdiff_t escPresses(const std::vector<std::string>& events) {
    return std::count(events.begin(), events.end(), "KEYDOWN " + std::to_string(VK_ESCAPE));
}

namespace {

std::vector<std::string> withoutEsc(const std::vector<std::string>& events) {
    std::vector<std::string> out;
    for (const auto& e : events)
        if (e.find(" " + std::to_string(VK_ESCAPE)) == std::string::npos) out.push_back(e);
    return out;
}

// The events of `entries`, with `walk` down-arrows and as many up-arrows
// just before entry `at`, as Esc there leaves them.
std::vector<std::string> walkedAt(const std::vector<std::string>& entries, std::size_t at, int walk) {
    const auto split = entries.begin() + static_cast<std::ptrdiff_t>(at);
    std::vector<std::string> out = expectedReceiverEvents({entries.begin(), split});
    for (int vk : {VK_DOWN, VK_UP})
        for (int i = 0; i < walk; ++i)
            for (const char* kind : {"KEYDOWN ", "KEYUP "}) out.push_back(kind + std::to_string(vk));
    const std::vector<std::string> rest = expectedReceiverEvents({split, entries.end()});
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

constexpr int kLongestWalk = 3;

}  // namespace

::testing::AssertionResult walkedBackAfterEsc(const std::vector<std::string>& events,
                                              const std::vector<std::string>& entries, int entry,
                                              std::size_t* resumeFrom, int* walk) {
    if (entry < 1 || static_cast<std::size_t>(entry) > entries.size())
        return ::testing::AssertionFailure() << "there is no entry " << entry;
    const std::vector<std::string> seen = withoutEsc(events);
    const std::vector<std::string> upTo(entries.begin(), entries.begin() + entry);
    int walked = 0;
    if (!walk) walk = &walked;
    *walk = 0;
    if (seen == expectedReceiverEvents(upTo)) {
        *resumeFrom = static_cast<std::size_t>(entry);
        return ::testing::AssertionSuccess();
    }
    const std::vector<std::string> before(upTo.begin(), upTo.end() - 1);
    for (*walk = 0; *walk <= kLongestWalk; ++*walk) {
        if (seen == walkedAt(before, before.size(), *walk)) {
            *resumeFrom = before.size();
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << "after Esc at entry " << entry << ", against that entry whole: "
                                         << firstDifference(seen, expectedReceiverEvents(upTo));
}

::testing::AssertionResult wholePathOnceAfterEsc(const std::vector<std::string>& events,
                                                 const std::vector<std::string>& entries, int leastWalk) {
    const std::vector<std::string> seen = withoutEsc(events);
    for (std::size_t at = 0; at <= entries.size(); ++at)
        for (int walk = leastWalk; walk <= kLongestWalk; ++walk)
            if (seen == walkedAt(entries, at, walk)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "against the whole path once: "
                                         << firstDifference(seen, expectedReceiverEvents(entries));
}

}  // namespace e2e
