#include "tests/fakes/fake_world.h"

#include <algorithm>
#include <new>
#include <utility>

#include "core/key_strings.h"

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

std::string FakeSender::send(std::string_view keys, bool wait) {
    world.log.push_back(std::string(wait ? "sendwait " : "send ") + std::string(keys));
    // What the player sends reaches the key state like any press.
    static const std::pair<std::string_view, int> kSent[] = {{kDownPiece, 40}, {kUpPiece, 38}, {kSpacePiece, 32}};
    for (const auto& [name, key] : kSent)
        if (keys == name) world.keys.tap(key);
    if (wait) checks = 0;
    if (failWith.empty()) world.dialog.take(keys);
    return failWith;
}

DialogControlKind FakeDialog::kind(DialogControl control) {
    if (isButton(control)) return DialogControlKind::PushButton;
    return control == kList ? DialogControlKind::List : DialogControlKind::None;
}

std::string FakeDialog::caption(DialogControl control) {
    static const char* const kCaptions[] = {"Move Down", "Move Left", "Move Right", "Move Up"};
    return isButton(control) ? kCaptions[control - kFirst] : "";
}

InputDrained FakeDialog::drained() {
    if (busyLeft == 0) return InputDrained::Yes;
    --busyLeft;
    return InputDrained::NotYet;
}

void FakeDialog::take(std::string_view keys) {
    const bool down = keys == kDownPiece;
    if (keys == kSpacePiece && focusOn != kList) presses.push_back(caption(focusOn));
    if ((!down && keys != kUpPiece) || ++arrows == dropArrow || !isButton(focusOn)) return;
    std::size_t at = 0;
    while (order[at] != static_cast<int>(focusOn - kFirst)) ++at;
    at = down ? (at + 1) % order.size() : (at + order.size() - 1) % order.size();
    focusOn = kFirst + static_cast<DialogControl>(order[at]);
}

KeysTaken FakeSender::keysTaken() { return taken ? taken(++checks) : KeysTaken::Yes; }

void FakeSound::play(const std::string& path) { world.log.push_back("sound " + path); }

void FakeBeeper::beep() { world.log.push_back("beep"); }

bool FakePump::pump() {
    ++calls;
    if (onPump && !world.ended) onPump(calls);
    return !world.ended;
}

Wake FakePump::waitForInput(double untilSeconds) {
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

void FakeControls::showSettings(const Settings& settings) {
    onTopValue = settings.onTop;
    noSoundValue = settings.noSound;
    mode = settings.mode;
}

static bool startsWithAny(const std::string& s, const std::vector<std::string>& prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const std::string& p) { return s.rfind(p, 0) == 0; });
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
