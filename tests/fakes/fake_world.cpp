#include "tests/fakes/fake_world.h"

#include <algorithm>
#include <new>
#include <utility>

#include <limits>
#include <stdexcept>

#include "app/playback_messages.h"

namespace tavrel::fakes {

std::int16_t FakeKeys::poll(int virtualKey) {
    // Presses due by now have set their keys' bits, as the system sets them
    // when the key goes down; nothing reads a key between its press and this.
    while (!pressesAt.empty() && pressesAt.begin()->first <= world.clock.now) {
        pressedSinceRead.insert(pressesAt.begin()->second);
        pressesAt.erase(pressesAt.begin());
    }
    std::int16_t state = 0;
    if (timeline) {
        state = timeline(virtualKey, world.clock.now);
    } else if (auto it = down.find(virtualKey); it != down.end()) {
        state = it->second;
    }
    if (pressedSinceRead.erase(virtualKey)) state = static_cast<std::int16_t>(state | 1);
    return state;
}

std::string FakeSender::send(Key key) {
    static const std::pair<std::string_view, int> kSent[] = {{"{DOWN}", 40}, {"{UP}", 38}, {" ", 32}};
    const auto& [text, virtualKey] = kSent[static_cast<std::size_t>(key)];
    world.log.push_back("send " + std::string(text));
    // What the player sends reaches the key state like any press.
    world.keys.tap(virtualKey);
    if (!failWith.empty()) return failWith;
    world.dialog.queue(key);
    return {};
}

bool FakeDialog::begin(WindowId target) {
    ++begins;
    unanswered = false;
    hooked = watchable && target != 0;
    return hooked;
}

bool FakeDialog::glance(WindowId target, double seconds) {
    const bool watched = begin(target);
    hooked = false;
    // Asked what its buttons are, a dialog that does not answer takes all the
    // patience, as the system's timeouts would; the reads after give up at once.
    if (watched && !answers()) world.clock.now += seconds, unanswered = true;
    return watched;
}

TabWay FakeDialog::tabTo(DialogControl control, DialogControl button) {
    if (!standardDialog) return {button != 0 ? button : kFirst, std::nullopt};
    const auto from = static_cast<std::size_t>(std::ranges::find(tabOrder, control) - tabOrder.begin());
    for (std::size_t n = 1; from < tabOrder.size() && n < tabOrder.size(); ++n) {
        const DialogControl next = tabOrder[(from + n) % tabOrder.size()];
        if (button != 0 ? next == button : isButton(next)) return {next, static_cast<int>(n)};
    }
    return {};
}

DialogControl FakeDialog::focus() {
    catchUp(world.clock.now);
    return world.focus.window == FakeFocus::kEditor ? state.focus : 0;
}

DialogControlKind FakeDialog::kind(DialogControl control) {
    if (isButton(control)) return DialogControlKind::PushButton;
    return control == kList ? DialogControlKind::List : DialogControlKind::None;
}

std::string FakeDialog::captionOf(DialogControl control) {
    static const char* const kCaptions[] = {"Move Down", "Move Left", "Move Right", "Move Up"};
    return isButton(control) ? kCaptions[control - kFirst] : "";
}

std::optional<int> FakeDialog::listCount() {
    catchUp(world.clock.now);
    return answers() ? std::optional<int>(state.lines) : std::nullopt;
}

void FakeDialog::mark(WindowId) {
    const double now = world.clock.now;
    catchUp(now);
    markedAt = now;
    // What is marked must be painted: an idle dialog finds its queue empty
    // at once; one with keys queued paints once they are handled (input
    // comes first); a paint begun already clears the mark too.
    if (state.paintDue) return;
    state.paintDue = true;
    state.paintFrom = state.queue.empty() ? std::max(state.busyUntil, now) : kAfterQueue;
}

InputDrained FakeDialog::drained() {
    catchUp(world.clock.now);
    return !markedAt || state.lastPaint >= *markedAt ? InputDrained::Yes : InputDrained::NotYet;
}

bool FakeDialog::answers() {
    // A thread inside a press's handler answers no message until it is done.
    catchUp(world.clock.now);
    return answering && !(state.pressFrom <= world.clock.now && world.clock.now < state.pressUntil);
}

void FakeDialog::queue(Key key) {
    const double now = world.clock.now;
    catchUp(now);
    if (state.pressQueued || (key == Key::Space && !state.queue.empty())) ++state.ahead;
    const bool arrow = key != Key::Space;
    const bool dropped = arrow ? ++state.arrows == dropArrow : ++state.spaces == dropPress;
    if (key == Key::Space && !dropped) state.pressQueued = true;
    for (bool up : {false, true}) state.queue.push_back({now, key, up, dropped});
    // The focus event the system raises when an arrow moves the focus ends
    // the watcher's wait for input then.
    if (!hooked || !arrow) return;
    FakeDialog future(*this);
    future.state.focusMoves.clear();
    future.catchUp(now + 3600.0);
    for (double at : future.state.focusMoves)
        if (at > now) world.events.messagesAt.push_back(at);
}

void FakeDialog::catchUp(double now) {
    State& s = state;
    while (answering) {
        if (s.queue.empty() || (s.paintDue && s.queue.front().arrives > s.paintFrom)) {
            // Its queue ran dry: it paints, which clears every mark made
            // before the paint began, and handles what came meanwhile after.
            if (!s.paintDue || s.paintFrom == kAfterQueue || s.paintFrom + paintLag > now) return;
            s.busyUntil = s.paintFrom + paintLag;
            s.lastPaint = s.busyUntil;
            s.paintDue = false;
            continue;
        }
        const State::Event e = s.queue.front();
        const bool busy = e.key == Key::Space && e.up && !e.dropped &&
                          (!busyFirstPressOnly || s.presses.empty());
        const double start = std::max(e.arrives, s.busyUntil);
        const double done = start + keyTime + (busy ? pressBusy : 0.0);
        if (busy && start + keyTime <= now) s.pressFrom = start + keyTime, s.pressUntil = done;
        if (done > now) return;
        s.queue.pop_front();
        s.busyUntil = done;
        s.paintDue = true;
        s.paintFrom = done;
        if (e.dropped) continue;
        if (e.key == Key::Space && e.up) {
            // The press: the button with the focus, which a list is not.
            s.pressFrom = start + keyTime;
            s.pressUntil = done;
            s.pressQueued = false;
            if (isButton(s.focus)) {
                s.presses.push_back(caption(s.focus));
                if (routeGrows) ++s.lines;
                if (static_cast<int>(s.presses.size()) == pressMovesFocus) s.focus = kList;
            }
        } else if (e.key != Key::Space && !e.up && isButton(s.focus)) {
            std::size_t at = 0;
            while (order[at] != static_cast<int>(s.focus - kFirst)) ++at;
            at = e.key == Key::Down ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
            s.focus = kFirst + static_cast<DialogControl>(order[at]);
            s.focusMoves.push_back(done);
        }
    }
}

void FakeSound::play(const std::string& path) { world.log.push_back("sound " + path); }

void FakeBeeper::beep() { world.log.push_back("beep"); }

bool FakePump::pump() {
    ++calls;
    if (onPump && !world.ended) onPump(calls);
    if (world.ended) return false;
    stepWork();
    return !world.ended;
}

Wake FakePump::waitForInput(double untilSeconds) {
    untilSeconds = until(untilSeconds);
    double& now = world.clock.now;
    Wait wait{now, untilSeconds, now};
    Wake wake = alwaysInput ? Wake::Message : Wake::Time;
    if (!alwaysInput) {
        // The first input to come; a key change wins a tie, as the system's
        // queue reports both.
        auto first = std::min_element(messagesAt.begin(), messagesAt.end());
        auto firstKey = std::min_element(keyChangesAt.begin(), keyChangesAt.end());
        const bool key = firstKey != keyChangesAt.end() && (first == messagesAt.end() || *firstKey <= *first);
        auto& queue = key ? keyChangesAt : messagesAt;
        auto next = key ? firstKey : first;
        // Already waiting input ends the wait however little time is left.
        if (next != queue.end() && (*next < untilSeconds || *next <= now)) {
            wait.woke = std::max(now, *next);
            queue.erase(next);
            wake = key ? Wake::Key : Wake::Message;
        } else {
            wait.woke = std::max(now, untilSeconds);
        }
    }
    now = wait.woke;
    waits.push_back(wait);
    if (onWait) onWait(wait);
    return wake;
}

void FakeNotifier::message(std::string_view text, Icon icon) {
    world.log.push_back("message " + std::to_string(static_cast<int>(icon)) + " " + std::string(text));
}

std::string FakeShell::launch(const std::string& commandLine, ShowStyle style) {
    world.log.push_back("launch " + std::to_string(static_cast<int>(style)) + " " + commandLine);
    return failWith;
}

void FakeOrder::setTop(std::int16_t flag) { world.log.push_back("top " + std::to_string(flag)); }

std::string FakeFiles::readPieces(const std::string& path, const std::function<void(std::string_view)>& piece) {
    world.log.push_back("read " + path);
    if (auto e = readErrors.find(path); e != readErrors.end()) return e->second;
    auto it = files.find(path);
    if (it == files.end()) return "The system cannot find the file specified.";
    std::string_view bytes = it->second;
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        piece(bytes.substr(at, pieceSize));
        if (outOfMemory) throw std::bad_alloc();
    }
    return {};
}

std::string FakeFiles::replace(const std::string& path, std::string_view bytes) {
    world.log.push_back("write " + path);
    if (auto e = writeErrors.find(path); e != writeErrors.end()) return e->second;
    files[path] = std::string(bytes);
    return {};
}

std::string FakeFiles::setCurrentFolder(const std::string& folder) {
    currentFolder = folder;
    return {};
}

void FakeListView::changed(const PathChange& change) {
    switch (change.kind) {
        case PathChange::Kind::Reset:
            ++resets;
            if (outOfMemory) throw std::bad_alloc();
            world.log.push_back("clear");
            for (const std::string& entry : change.entries) world.log.push_back("append " + entry);
            break;
        case PathChange::Kind::Inserted:
            if (change.index + 1 == world.list.count())
                world.log.push_back("append " + change.entries[0]);
            else
                world.log.push_back("insert " + std::to_string(change.index) + " " + change.entries[0]);
            break;
        case PathChange::Kind::Erased: world.log.push_back("erase " + std::to_string(change.index)); break;
    }
}

void FakeListView::selected(int index) { world.log.push_back("select " + std::to_string(index)); }

void FakeWorld::setEntries(const std::vector<std::string>& entries, int selected) {
    list.setView(nullptr);
    list.assign(entries);
    list.select(selected);
    list.setView(&listView);
}

void FakeControls::setBusy(bool busy) {
    actionsEnabled = !busy;
    world.log.push_back(busy ? "actions off" : "actions on");
}

void FakeControls::setPlayCaption(std::string_view caption) {
    playCaption = std::string(caption);
    world.log.push_back("caption " + playCaption);
}

void FakeControls::ended(const PlaybackOutcome& outcome) {
    outcomes.push_back(outcome);
    endedAt = world.clock.now;
    showOutcome(world.notifier, outcome);
}

void FakeControls::showSettings(const Settings& settings) {
    onTopValue = settings.onTop;
    noSoundValue = settings.noSound;
    mode = settings.mode;
}

static bool startsWithAny(const std::string& s, const std::vector<std::string>& prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const std::string& p) { return s.rfind(p, 0) == 0; });
}

void FakeWorld::runWhile(const std::function<bool()>& going) {
    // A playback that never ends fails its test instead of hanging it.
    const double limit = clock.now + 300.0;
    while (going() && events.pump() && going()) {
        if (clock.now > limit) throw std::runtime_error("the loop ran for five minutes of fake time: " + log.back());
        events.waitForInput(std::numeric_limits<double>::infinity());
    }
}

std::vector<std::string> FakeWorld::logWithout(std::vector<std::string> prefixes) const {
    std::vector<std::string> out;
    for (const auto& s : log)
        if (!startsWithAny(s, prefixes)) out.push_back(s);
    return out;
}

std::vector<std::string> FakeWorld::logOnly(std::vector<std::string> prefixes) const {
    std::vector<std::string> out;
    for (const auto& s : log)
        if (startsWithAny(s, prefixes)) out.push_back(s);
    return out;
}

}  // namespace tavrel::fakes
