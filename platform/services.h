// The small interfaces through which the portable logic reaches the world.
// platform/win32 implements them; tests/fakes implements them for unit tests.
// Paths and messages are UTF-8 text; keystroke entries are raw bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavrel {

// Message-box icons, by the numbers the program has always used.
enum class Icon : int { Stop = 16, Exclamation = 48, Information = 64 };

// Shell-launch window styles.
enum class ShowStyle : int { Normal = 1, Maximized = 3 };

// The system-wide key state, as GetAsyncKeyState reports it.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual std::int16_t poll(int virtualKey) = 0;
};

// Whether the window the keys went to has taken them all (KeySender::keysTaken).
enum class KeysTaken { Yes, NotYet, NoAnswer };

// Delivers a send-keys string ("{DOWN}", "{UP}", " ") to the focused window.
class KeySender {
public:
    virtual ~KeySender() = default;
    // Returns once the keys are queued: an empty string on success, otherwise
    // the system's description of why they could not be delivered. With
    // `wait`, the focused window is also marked for keysTaken() to watch.
    virtual std::string send(std::string_view keys, bool wait) = 0;
    // After a send with `wait`: Yes once that window has taken every key sent
    // (or there is no window to wait for), NotYet while it is still working
    // through them, NoAnswer when it did not answer within a moment (hung or
    // busy). Returns within about 0.1 s, so the caller can keep its own window
    // live between checks.
    virtual KeysTaken keysTaken() = 0;
};

// Starts a sound file asynchronously; a missing file plays nothing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const std::string& path) = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// Monotonic seconds: only differences are meaningful, so no wait or grace
// period can stall when the wall clock passes midnight.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double seconds() = 0;
};

// What ended a wait for input (EventPump::waitForInput).
enum class Wake {
    Time,     // its time came, nothing waiting
    Message,  // a message of any other kind: a timer, the mouse, a paint
    Key,      // a key change a key watch asked for is waiting
};

// Runs every pending window event. Any handler of the program may run inside.
class EventPump {
public:
    virtual ~EventPump() = default;
    // False once the program is ending: the caller must return at once
    // without any further effect.
    virtual bool pump() = 0;
    // Sleeps until a message is waiting or the clock (Clock::seconds) reaches
    // `untilSeconds`, whichever comes first; returns at once when a message
    // is already waiting, also when `untilSeconds` has passed. Runs no
    // handler: the next pump() does. The system timer may wake it up to
    // kWakeLateness late. Says what ended it; Key wins over Message when both
    // are waiting.
    virtual Wake waitForInput(double untilSeconds) = 0;
    // Bracket loops that wait (see WaitingLoop): the system timer is kept at
    // its finest while at least one runs.
    virtual void beginWaiting() {}
    virtual void endWaiting() {}
    // Bracket loops that poll the keys (see KeyWatch): while at least one
    // runs, any key going down or up, whichever window has the focus, ends
    // waitForInput() with Wake::Key; nothing about the key is recorded.
    // False where the system cannot report key changes: then the loop must
    // keep polling on its own.
    virtual bool beginKeyWatch() { return false; }
    virtual void endKeyWatch() {}
};

// How late the system may wake a waitForInput(): a wait that must not end
// late sleeps only until this long before its end and polls the rest.
// Half a millisecond of rounding to whole milliseconds, and the timer's own:
// under Wine 8, with other work on the machine (load 2), sleeps of 1 to 9 ms
// ended 0.2 ms late at the median and 0.4 to 0.7 ms at the 90th percentile.
inline constexpr double kWakeLateness = 0.0015;

// Holds the system timer fine for one loop that waits; nested loops nest.
class WaitingLoop {
public:
    explicit WaitingLoop(EventPump& events) : events_(events) { events_.beginWaiting(); }
    ~WaitingLoop() { events_.endWaiting(); }
    WaitingLoop(const WaitingLoop&) = delete;
    WaitingLoop& operator=(const WaitingLoop&) = delete;

private:
    EventPump& events_;
};

// Key changes wake one loop's waits while it lives; nested loops nest.
class KeyWatch {
public:
    explicit KeyWatch(EventPump& events) : events_(events), wakes_(events_.beginKeyWatch()) {}
    ~KeyWatch() { events_.endKeyWatch(); }
    KeyWatch(const KeyWatch&) = delete;
    KeyWatch& operator=(const KeyWatch&) = delete;
    bool wakes() const { return wakes_; }

private:
    EventPump& events_;
    bool wakes_;
};

class Notifier {
public:
    virtual ~Notifier() = default;
    // Modal message box with one OK button and the application title.
    virtual void message(std::string_view text, Icon icon) = 0;
};

class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    // Starts the command line and returns at once; an empty string on
    // success, otherwise the system's description of the failure.
    virtual std::string launch(const std::string& commandLine, ShowStyle style) = 0;
};

// Always-on-top switch for the main window.
class WindowOrder {
public:
    virtual ~WindowOrder() = default;
    // -1 makes the window topmost, any other value returns it to normal order.
    virtual void setTop(std::int16_t flag) = 0;
};

// An opaque handle of a top-level window; 0 stands for none.
using WindowId = std::uintptr_t;

// Which window the user's keyboard input goes to, so playback can tell
// whether its keys still reach the window they started in.
class FocusWatch {
public:
    virtual ~FocusWatch() = default;
    // The window with the keyboard focus now, 0 when there is none.
    virtual WindowId foreground() = 0;
    // True for a window of another program that can take keys: not 0, not
    // one of this program's own windows, not the desktop or the shell.
    virtual bool otherProgram(WindowId window) = 0;
    // True when the window's program runs at a higher integrity level than
    // this one (started "as administrator" while this one was not): the
    // system then drops the keys sent to it, and may still report them
    // sent. Also true when its process opens for limited query but its
    // level cannot be read (see targetRunsHigher).
    virtual bool runsHigher(WindowId window) = 0;
};

// A key taken system-wide while it is armed, so it reaches no other window.
class StopKey {
public:
    virtual ~StopKey() = default;
    // Takes the key; false when another program holds it.
    virtual bool arm() = 0;
    // Gives the key back; harmless when it is not armed.
    virtual void disarm() = 0;
    // True once the key has been pressed since arm(). Presses are delivered
    // as events, so this changes only inside an event pump.
    virtual bool pressed() = 0;
};

struct ReadResult {
    bool ok = false;
    std::string bytes;  // whole content when ok
    std::string error;  // system description when not ok
};

class FileStore {
public:
    virtual ~FileStore() = default;
    // Hands the file's bytes to `piece` in order, a piece at a time, so that
    // a reader can keep only what it needs of a huge file. The file may be
    // open for writing by another program meanwhile. Returns an empty string
    // on success, otherwise the system's description of the failure.
    virtual std::string readPieces(const std::string& path, const std::function<void(std::string_view)>& piece) = 0;
    // The whole file at once, for small files.
    ReadResult readAll(const std::string& path) {
        ReadResult result;
        result.error = readPieces(path, [&](std::string_view bytes) { result.bytes.append(bytes); });
        result.ok = result.error.empty();
        if (!result.ok) result.bytes.clear();
        return result;
    }
    // Writes a temporary file beside `path`, then replaces `path` with it, so
    // a failure never leaves `path` empty or half written. Returns an empty
    // string on success, otherwise the system's description of the failure.
    virtual std::string replace(const std::string& path, std::string_view bytes) = 0;
    // Returns an empty string on success, otherwise the failure's description.
    virtual std::string setCurrentFolder(const std::string& folder) = 0;
    // The system's description of running out of memory, for a file read
    // whose content could not be held.
    virtual std::string outOfMemoryText() = 0;
};

// Everything the logic may ask of the platform, gathered for injection.
struct Services {
    KeyState& keys;
    KeySender& sender;
    SoundPlayer& sound;
    Beeper& beeper;
    Clock& clock;
    EventPump& events;
    Notifier& notifier;
    ShellLauncher& shell;
    WindowOrder& order;
    FileStore& files;
    FocusWatch& focus;
    StopKey& stopKey;
};

}  // namespace tavrel
