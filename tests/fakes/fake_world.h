// Fakes of every platform service and of the main window's controls, sharing
// one event log so tests can assert the exact order of effects.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "core/path_model.h"
#include "app/main_view.h"
#include "core/playback_view.h"
#include "platform/dialog_watch.h"
#include "platform/integrity_level.h"
#include "platform/services.h"

namespace tavrel::fakes {

// Effects in order, as FakeWorld::log holds them.
using Log = std::vector<std::string>;

// The program folder the player and recorder are given, and how playing its
// key sound shows in the log.
inline const std::string kAppDir = "C:\\Tavrel\\";
inline const std::string kKeySound = "sound C:\\Tavrel\\key.wav";

struct FakeWorld;

// As the system keeps it: besides whether a key is down, a "pressed since
// the last read" bit, set by every press (the keys the player sends too) and
// returned once by the next read, which clears it.
struct FakeKeys final : KeyState {
    explicit FakeKeys(FakeWorld& w) : world(w) {}
    std::int16_t poll(int virtualKey) override;
    // A key pressed and released (FakeSender calls this for what it sends).
    void tap(int virtualKey) { pressedSinceRead.insert(virtualKey); }
    // Either a fixed state per key, or a function of the fake clock.
    std::map<int, std::int16_t> down;
    std::function<std::int16_t(int key, double now)> timeline;
    std::set<int> pressedSinceRead;
    // Presses to come, fake time -> key: each sets its key's bit when the
    // clock reaches it, as a tap() then would.
    std::multimap<double, int> pressesAt;
    FakeWorld& world;
};

// Logs each key as the key-string text writes it ("send {DOWN}", "send  ")
// and hands it to the dialog, which takes it in its own time.
struct FakeSender final : KeySender {
    explicit FakeSender(FakeWorld& w) : world(w) {}
    std::string send(Key key) override;
    std::string failWith;  // non-empty: every send fails with this text
    FakeWorld& world;
};

struct FakeSound final : SoundPlayer {
    explicit FakeSound(FakeWorld& w) : world(w) {}
    void play(const std::string& path) override;
    FakeWorld& world;
};

struct FakeBeeper final : Beeper {
    explicit FakeBeeper(FakeWorld& w) : world(w) {}
    void beep() override;
    FakeWorld& world;
};

// Every reading advances the time by `step`, so every wait loop ends.
struct FakeClock final : Clock {
    double seconds() override {
        now += step;
        return now;
    }
    double now = 1000.0;
    double step = 0.001;
};

// Runs `onPump` (if set) with the 1-based number of the pump call; handlers
// scheduled there run nested, as they would inside a real event pump.
// A wait for input moves the fake clock on to its end, or only to the first
// input time in `messagesAt` or `keyChangesAt` before that (the next pump
// handles it).
struct FakePump final : EventPump {
    explicit FakePump(FakeWorld& w) : world(w) {}
    bool pump() override;
    Wake waitForInput(double untilSeconds) override;
    void beginWaiting() override { ++waitingLoops; }
    void endWaiting() override { --waitingLoops; }
    bool beginKeyWatch() override {
        ++keyWatches;
        return keysWake;
    }
    void endKeyWatch() override { --keyWatches; }
    int calls = 0;
    std::function<void(int call)> onPump;
    // Fake times at which a message arrives, each ending one wait early:
    // any message (Wake::Message), or a key change (Wake::Key).
    std::vector<double> messagesAt;
    std::vector<double> keyChangesAt;
    // True: a message is always waiting, so no wait moves the clock.
    bool alwaysInput = false;
    struct Wait {
        double from;
        double until;
        double woke;
    };
    std::vector<Wait> waits;
    std::function<void(const Wait&)> onWait;
    int waitingLoops = 0;
    // Whether key changes end waits (the rig puts them into keyChangesAt).
    bool keysWake = false;
    int keyWatches = 0;
    FakeWorld& world;
};

struct FakeNotifier final : Notifier {
    explicit FakeNotifier(FakeWorld& w) : world(w) {}
    void message(std::string_view text, Icon icon) override;
    FakeWorld& world;
};

struct FakeShell final : ShellLauncher {
    explicit FakeShell(FakeWorld& w) : world(w) {}
    std::string launch(const std::string& commandLine, ShowStyle style) override;
    std::string failWith;
    FakeWorld& world;
};

struct FakeOrder final : WindowOrder {
    explicit FakeOrder(FakeWorld& w) : world(w) {}
    void setTop(std::int16_t flag) override;
    FakeWorld& world;
};

struct FakeFiles final : FileStore {
    explicit FakeFiles(FakeWorld& w) : world(w) {}
    // Hands the file over in pieces of `pieceSize` bytes.
    std::string readPieces(const std::string& path, const std::function<void(std::string_view)>& piece) override;
    std::string replace(const std::string& path, std::string_view bytes) override;
    std::string setCurrentFolder(const std::string& folder) override;
    std::string outOfMemoryText() override { return "Not enough memory resources are available."; }
    std::map<std::string, std::string> files;
    bool outOfMemory = false;  // a read runs out of memory after its first piece
    std::map<std::string, std::string> readErrors;   // path -> description
    std::map<std::string, std::string> writeErrors;  // path -> description
    std::string currentFolder;
    std::size_t pieceSize = 7;  // odd, so line ends fall across pieces
    FakeWorld& world;
};

// Another program's window has the focus unless a test says otherwise.
struct FakeFocus final : FocusWatch {
    WindowId foreground() override {
        ++reads;
        return window;
    }
    bool otherProgram(WindowId w) override { return w != 0 && ownWindows.count(w) == 0 && w != desktop; }
    // By the program's own rule, from the integrity levels below.
    bool runsHigher(WindowId w) override {
        const auto it = levels.find(w);
        return targetRunsHigher(ownLevel, it != levels.end() ? it->second : kMediumLevel);
    }
    static constexpr WindowId kEditor = 0x1001;
    static constexpr WindowId kEditorAsAdministrator = 0x1002;
    // Its process opens for limited query, its token does not.
    static constexpr WindowId kEditorTokenUnreadable = 0x1003;
    static constexpr WindowId kDesktop = 0x10;
    WindowId window = kEditor;
    WindowId desktop = kDesktop;
    std::set<WindowId> ownWindows{0x2001};
    long ownLevel = kMediumLevel;
    // Every other window runs at the medium level.
    std::map<WindowId, long> levels{{kEditorAsAdministrator, kHighLevel}, {kEditorTokenUnreadable, kLevelUnreadable}};
    int reads = 0;
};

// The editor's move dialog, the window every key goes to: four buttons,
// walked by the arrow keys and pressed by the spaces, and a list. It takes
// the keys in its own time, as the real one does: each key's press and
// release are handled `keyTime` apart, a press keeps the dialog busy for
// `pressBusy`, and whenever its queue runs dry it paints, `paintLag` after
// the moment it found the queue empty. A mark of the drained signal made
// before that paint began is cleared by it, keys sent since or not, as the
// system's would be. Not logged: watching must leave the logs of playback
// as they are.
struct FakeDialog final : DialogWatch, InputDrain {
    explicit FakeDialog(FakeWorld& w) : world(w) {}
    static constexpr DialogControl kFirst = 0x101;  // "Move Down", then Left, Right, Up
    static constexpr DialogControl kList = 0x110;
    static constexpr double kAfterQueue = 1e300;
    bool begin(WindowId target) override;
    void end() override { ++ends, hooked = false; }
    bool glance(WindowId target, double seconds) override;
    bool answered() const override { return !unanswered; }
    // As the system reads it: none while another window has the keyboard focus.
    DialogControl focus() override;
    DialogControlKind kind(DialogControl control) override;
    std::string caption(DialogControl control) override { return captionOf(control); }
    static std::string captionOf(DialogControl control);
    DialogControl groupFirst(DialogControl button) override { return managerGroup && isButton(button) ? kFirst : 0; }
    DialogControl groupNext(DialogControl button) override {
        return isButton(button) && button + 1 < kFirst + 4 ? button + 1 : 0;
    }
    TabWay tabTo(DialogControl control, DialogControl button) override;
    std::optional<int> listCount() override;
    void mark(WindowId target) override;
    InputDrained drained() override;
    bool answers() override;
    // A key sent to whatever window has the focus.
    void queue(Key key);
    static bool isButton(DialogControl c) { return c >= kFirst && c < kFirst + 4; }

    // How it behaves, set by a test before the playback.
    bool watchable = true;
    // The buttons in the order the arrows walk them (0 "Move Down"); the
    // dialog manager's own unless a test gives the dialog its own.
    std::vector<int> order{0, 1, 2, 3};
    bool managerGroup = true;
    // A dialog of the system's, where Tab walks `tabOrder`; else a toolkit's.
    bool standardDialog = true;
    std::vector<DialogControl> tabOrder{kFirst, kFirst + 1, kFirst + 2, kFirst + 3, kList};
    int dropArrow = 0;  // 1-based: that arrow key is lost
    int dropPress = 0;  // 1-based: that space is lost
    double keyTime = 0.0003;
    double pressBusy = 0.0;
    bool busyFirstPressOnly = false;
    double paintLag = 0.0001;
    bool answering = true;  // false: hung, handling nothing
    int pressMovesFocus = 0;  // 1-based: that press puts the focus on the list
    // Each press taken adds a line to the list, as a move dialog's route.
    bool routeGrows = false;

    // What it shows.
    struct State {
        DialogControl focus = kFirst;
        int lines = 3;
        int arrows = 0;
        int spaces = 0;
        std::vector<std::string> presses;
        // Keys sent before the dialog had taken a press: a key that arrived
        // while a press was queued or being handled, or a press that arrived
        // while other keys still waited (its drained signal could then come
        // from their paint).
        int ahead = 0;
        struct Event {
            double arrives;
            Key key;
            bool up;
            bool dropped;
        };
        std::deque<Event> queue;
        double busyUntil = 0.0;
        double pressFrom = 0.0, pressUntil = 0.0;
        bool pressQueued = false;
        bool paintDue = false;
        // When it found its queue empty with something to paint.
        double paintFrom = 0.0;
        double lastPaint = -1.0;
        std::vector<double> focusMoves;
    };
    State state;
    // Handles what is due by `now`.
    void catchUp(double now);
    int begins = 0;
    int ends = 0;
    bool hooked = false;
    bool unanswered = false;
    std::optional<double> markedAt;
    FakeWorld& world;
};

// Not logged: a playback's arm and disarm would show in every exact log.
struct FakeStopKey final : StopKey {
    bool arm() override {
        ++arms;
        armed = available;
        down = false;
        return armed;
    }
    void disarm() override {
        ++disarms;
        armed = false;
    }
    bool pressed() override { return armed && down; }
    bool available = true;  // false: another program holds the key
    bool armed = false;
    bool down = false;  // set by a test from inside a pump
    int arms = 0;
    int disarms = 0;
};

// Shows the path in the log: a redraw of the whole list as "clear" and an
// "append" per entry, as a list box refilled would.
struct FakeListView final : PathView {
    explicit FakeListView(FakeWorld& w) : world(w) {}
    void changed(const PathChange& change) override;
    void selected(int index) override;
    // As a window that cannot hold the new list: it keeps showing the old one.
    bool outOfMemory = false;
    int resets = 0;  // asked to show a whole new list, failed or not
    FakeWorld& world;
};

// The main window as the handlers see it, and the view the player has of it
// when a test drives the player alone (which then reads FakeWorld::settings).
struct FakeControls final : MainView, PlaybackView {
    explicit FakeControls(FakeWorld& w) : world(w) {}
    void setBusy(bool busy) override;
    void setPlayCaption(std::string_view caption) override;
    void showSettings(const Settings& settings) override;
    // Not logged, so the exact logs of playback stay as they are; every
    // change is kept in order instead.
    void showStopKeyMissing(bool missing) override { stopKeyMissing.push_back(missing); }
    void showNotWatching(bool shown) override { notWatching.push_back(shown); }
    void showHint(std::string_view hint) override { hints.emplace_back(hint); }
    // Shows the message the window would, and notes when and how it ended.
    void ended(const PlaybackOutcome& outcome) override;
    std::vector<PlaybackOutcome> outcomes;
    double endedAt = 0.0;
    bool actionsEnabled = true;
    std::string playCaption = "Play";
    std::vector<bool> stopKeyMissing;
    std::vector<bool> notWatching;
    std::vector<std::string> hints;
    // As shown.
    SpeedMode mode = SpeedMode::Surpressed;
    int noSoundValue = 1;
    int onTopValue = 0;
    FakeWorld& world;
};

struct FakeWorld {
    FakeKeys keys{*this};
    FakeSender sender{*this};
    FakeSound sound{*this};
    FakeBeeper beeper{*this};
    FakeClock clock;
    FakePump events{*this};
    FakeNotifier notifier{*this};
    FakeShell shell{*this};
    FakeOrder order{*this};
    FakeFiles files{*this};
    FakeFocus focus;
    FakeStopKey stopKey;
    FakeDialog dialog{*this};
    PathModel list;
    // What a player driven alone reads.
    Settings settings;
    FakeListView listView{*this};
    FakeControls controls{*this};

    FakeWorld() { list.setView(&listView); }
    FakeWorld(const FakeWorld&) = delete;
    FakeWorld& operator=(const FakeWorld&) = delete;

    // Puts `entries` in the list unseen, as if they had always been there,
    // with entry `selected` selected.
    void setEntries(const std::vector<std::string>& entries, int selected = -1);

    Services services() {
        return Services{keys,  sender, sound, beeper, clock, events, notifier,
                        shell, order,  files, focus, stopKey, dialog};
    }

    // Effects in order, e.g. "send {DOWN}", "sound C:\\app\\key.wav",
    // "message 48 DONE!", "caption Ready...", "actions off", "select 3".
    Log log;
    // True once the program has been told to end (see FakePump::pump).
    bool ended = false;

    // The window's one message loop, while `going` holds: a pump (which runs
    // the handlers a test scheduled, then steps the playback), then a wait
    // for input until the playback is next due.
    void runWhile(const std::function<bool()>& going);

    // The log without the entries that start with any of `prefixes`.
    Log logWithout(std::vector<std::string> prefixes) const;
    // Only the log entries that start with one of `prefixes`.
    Log logOnly(std::vector<std::string> prefixes) const;
};

}  // namespace tavrel::fakes
