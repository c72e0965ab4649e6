// Running the window's events from inside long loops.
#pragma once

namespace tavrel {

// What ended a wait for input (EventPump::waitForInput).
enum class Wake {
    Time,     // its time came, nothing waiting
    Message,  // a message of any other kind: a timer, the mouse, a paint
    Key,      // a key change a key watch asked for is waiting
};

// Work that waits, such as a playback: a small object the window's loop
// calls back, never a loop nested inside a handler. Whichever loop runs (the
// main one, a recording's) steps it after every pump, and none of them
// sleeps past the time it is due.
class SteppedWork {
public:
    virtual ~SteppedWork() = default;
    // Clock seconds (Clock::seconds) by which step() is due again.
    virtual double due() const = 0;
    virtual void step() = 0;
};

// Runs every pending window event. Any handler of the program may run inside.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs the pending events, then steps the work. False once the program
    // is ending: the caller must return at once without any further effect,
    // and the work is not stepped again.
    virtual bool pump() = 0;
    // Sleeps until a message is waiting or the clock (Clock::seconds) reaches
    // `untilSeconds` or the work's due time, whichever comes first; returns
    // at once when a message is already waiting, also when that time has
    // passed. Runs no handler: the next pump() does. The system timer may
    // wake it up to kWakeLateness late. Says what ended it (Time also for
    // the work's due time); Key wins over Message when both are waiting.
    virtual Wake waitForInput(double untilSeconds) = 0;

    // One piece of work at a time; null for none.
    void setWork(SteppedWork* work) { work_ = work; }
    // Steps the work, unless one of its steps is running already: a step
    // may show a message box, whose own loop runs the window's messages.
    void stepWork() {
        if (work_ == nullptr || stepping_) return;
        stepping_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{stepping_};
        work_->step();
    }
    // The time a wait for input must end by for the work's sake.
    double until(double untilSeconds) const {
        if (work_ == nullptr || stepping_) return untilSeconds;
        const double due = work_->due();
        return due < untilSeconds ? due : untilSeconds;
    }
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

private:
    SteppedWork* work_ = nullptr;
    bool stepping_ = false;
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
