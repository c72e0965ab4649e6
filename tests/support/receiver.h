// Runs the receiving dialog (tavrel_receiver.exe, a stand-in for the editor's
// move dialog) beside a test or benchmark and reads what it logged: every key
// event its dialog took, and every button the keys pressed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/support/wait.h"

namespace e2e {

struct ReceiverLine {
    std::uint64_t micros = 0;  // performance counter, shared by all processes
    std::string kind;          // KEYDOWN, KEYUP or PRESS
    std::string value;         // a virtual-key code, or DOWN, LEFT, RIGHT, UP

    // "KEYDOWN 40", "PRESS LEFT": what a comparison needs, without the time.
    std::string event() const { return kind + " " + value; }
};

struct ReceiverLog {
    std::vector<ReceiverLine> lines;
    std::vector<std::string> malformed;

    std::vector<std::string> events() const;
    std::vector<std::string> presses() const;
    std::size_t count(const std::string& kind) const;
};

// Complete lines only: the receiver may be in the middle of writing the last.
ReceiverLog parseReceiverLog(const std::string& text);

// The receiver's buttons in focus order, from the one that has the focus at
// the start: how many down-arrows reach the button of this direction.
std::optional<int> receiverButtonIndex(const std::string& direction);

// The log lines, without times, that a path of entries must leave in the
// receiver when each entry's button is reached with down-arrows, pressed
// with the space bar and left with as many up-arrows. Entries that name no
// button leave nothing.
std::vector<std::string> expectedReceiverEvents(const std::vector<std::string>& entries);

class Receiver {
public:
    // Starts the receiver from this program's folder with a fresh log and
    // waits until its dialog shows with the focus on "Move Down". Throws
    // std::runtime_error saying what went wrong.
    // `options`: the receiver's own (--busy 40, --focus 2, ...), which also
    // say where the focus must be before it counts as ready.
    explicit Receiver(const std::wstring& options = L"");
    ~Receiver();  // closes the dialog, ending the process if it will not go
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    HWND dialog() const { return dialog_; }
    bool running() const;
    const std::wstring& logPath() const { return logPath_; }

    std::string logText() const;
    ReceiverLog log() const;

    bool foreground() const { return GetForegroundWindow() == dialog_; }
    // Asks for the foreground until the dialog has it; false on timeout.
    bool bringForward(Millis timeout = 10s) const;
    // Caption of the control with the keyboard focus in the dialog's thread,
    // empty when there is none.
    std::wstring focusedControl() const;

    // Stops and restarts the dialog's thread, as a target busy with other
    // work would: keys sent meanwhile wait in its queue.
    bool suspend() const { return SuspendThread(process_.hThread) != static_cast<DWORD>(-1); }
    bool resume() const { return ResumeThread(process_.hThread) != static_cast<DWORD>(-1); }

    // Closes the dialog and returns its exit code, or -1 when it had to be
    // ended by force.
    int close();

private:
    [[noreturn]] void giveUp(const std::string& why);

    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
    std::wstring logPath_;
    std::wstring readyPath_;
};

}  // namespace e2e
