// Running the window's events from inside long loops.
#pragma once

namespace tavrel {

// Runs every pending window event. Any handler of the program may run inside.
class EventPump {
public:
    virtual ~EventPump() = default;
    // False once the program is ending: the caller must return at once
    // without any further effect.
    virtual bool pump() = 0;
    // Sleeps until a message is waiting or the clock (Clock::seconds) reaches
    // `untilSeconds`, whichever comes first; returns at once when a message
    // is already waiting. Runs no handler: the next pump() does. The system
    // timer may wake it up to kWakeLateness late. True when a message (or a
    // key change, see beginKeyWatch) ended it, false when its time did.
    virtual bool waitForInput(double untilSeconds) = 0;
    // Bracket loops that wait (see WaitingLoop): the system timer is kept at
    // its finest while at least one runs.
    virtual void beginWaiting() {}
    virtual void endWaiting() {}
    // Bracket loops that poll the keys (see KeyWatch): while at least one
    // runs, any key going down or up, whichever window has the focus, counts
    // as input that ends waitForInput(); nothing about the key is recorded.
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

}  // namespace tavrel
