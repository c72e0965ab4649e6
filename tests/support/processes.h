// Other processes seen from outside: what they cost, what runs, what they
// were started with, and the environment the next ones inherit.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

// Kernel plus user time of a process in milliseconds, as the system reports
// it; -1 when it cannot be read. Under Wine this leaves out most of another
// process's time (0.3 s was reported for a playback that kept a core 40 %
// busy for 18 s): HostProcess reads the host's own account.
double processorMs(HANDLE process);
double processorMs(DWORD pid);

// A Linux process seen through Wine's Z: drive (/proc/PID).
class HostProcess {
public:
    // The first process whose command line holds every one of `needles`
    // and, when `environment` is given ("NAME=value"), whose environment
    // holds it too; not found() when there is none or not under Wine.
    static HostProcess find(const std::vector<std::string>& needles, const std::string& environment = {});
    // This process itself.
    static HostProcess self() { return HostProcess(L"Z:\\proc\\self"); }

    bool found() const { return !dir_.empty(); }
    // User plus system time in milliseconds, -1 when unknown.
    double cpuMs() const;
    // write(2) calls so far, -1 when unknown: under Wine one per request
    // to the Wine server.
    long long writes() const;

private:
    explicit HostProcess(std::wstring dir = {}) : dir_(std::move(dir)) {}
    std::wstring dir_;
};

struct ProcessSeen {
    DWORD pid = 0;
    DWORD parent = 0;
    std::wstring exe;
};
std::vector<ProcessSeen> processes();

// The command line of a running process; empty when it cannot be read (yet).
std::wstring commandLineOf(HANDLE process);

// Sets an environment variable for the programs this process starts, and
// puts the old value back when it goes out of scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::wstring& name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name_;
    std::wstring old_;
    bool had_ = false;
};

}  // namespace e2e
