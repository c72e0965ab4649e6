#include "tests/support/processes.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "tests/support/files.h"

namespace e2e {

double processorMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!process || !GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto hundredNs = [](FILETIME t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(hundredNs(kernel) + hundredNs(user)) / 1e4;
}

double processorMs(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    const double ms = processorMs(process);
    if (process) CloseHandle(process);
    return ms;
}

HostProcess HostProcess::find(const std::vector<std::string>& needles, const std::string& environment) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (h == INVALID_HANDLE_VALUE) return HostProcess();
    std::wstring match;
    do {
        if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9') continue;
        const std::wstring dir = std::wstring(L"Z:\\proc\\") + found.cFileName;
        const std::string commandLine = readFile(dir + L"\\cmdline");
        bool all = true;
        for (const auto& needle : needles) all = all && commandLine.find(needle) != std::string::npos;
        if (!all) continue;
        if (!environment.empty()) {
            // NUL-separated; one more NUL makes every entry end alike.
            const std::string env = std::string(1, '\0') + readFile(dir + L"\\environ") + '\0';
            if (env.find('\0' + environment + '\0') == std::string::npos) continue;
        }
        match = dir;
        break;
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return HostProcess(match);
}

double HostProcess::cpuMs() const {
    if (dir_.empty()) return -1;
    const std::string stat = readFile(dir_ + L"\\stat");
    const std::size_t end = stat.rfind(')');
    if (end == std::string::npos) return -1;
    // Fields after the command name start with the third, the state; user
    // and system time are the 14th and 15th, in USER_HZ, 100 on x86 Linux.
    std::istringstream fields(stat.substr(end + 1));
    std::string field;
    double ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number)
        if (number >= 14) ticks += std::stod(field);
    return ticks * 10.0;
}

long long HostProcess::writes() const {
    if (dir_.empty()) return -1;
    const std::string io = readFile(dir_ + L"\\io");
    const std::size_t at = io.find("syscw:");
    return at == std::string::npos ? -1 : std::atoll(io.c_str() + at + 6);
}

std::vector<ProcessSeen> processes() {
    std::vector<ProcessSeen> seen;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return seen;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        seen.push_back(ProcessSeen{entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    CloseHandle(snapshot);
    return seen;
}

std::wstring commandLineOf(HANDLE process) {
    // Read from the process's own memory, where the system keeps it: the
    // query that returns it directly is not there on every system.
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    static Query query = [] {
        Query found = nullptr;
        FARPROC proc = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
        if (proc) std::memcpy(&found, &proc, sizeof found);
        return found;
    }();
    if (!query) return {};
    PROCESS_BASIC_INFORMATION basic{};
    ULONG got = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, &got) < 0 || !basic.PebBaseAddress) return {};
    auto read = [process](const void* from, void* to, SIZE_T size) {
        SIZE_T n = 0;
        return ReadProcessMemory(process, from, to, size, &n) && n == size;
    };
    PEB peb{};
    if (!read(basic.PebBaseAddress, &peb, sizeof peb) || !peb.ProcessParameters) return {};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!read(peb.ProcessParameters, &parameters, sizeof parameters)) return {};
    const UNICODE_STRING& line = parameters.CommandLine;
    if (!line.Buffer || line.Length == 0) return {};
    std::wstring text(line.Length / sizeof(wchar_t), L'\0');
    if (!read(line.Buffer, text.data(), line.Length)) return {};
    // A process that is still setting itself up may show the text's place
    // before the text is in it.
    if (text.find(L'\0') != std::wstring::npos) return {};
    return text;
}

ScopedEnvironment::ScopedEnvironment(const std::wstring& name, const std::wstring& value) : name_(name) {
    DWORD n = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (n > 0) {
        old_.resize(n);
        DWORD got = GetEnvironmentVariableW(name.c_str(), old_.data(), n);
        old_.resize(got);
        had_ = true;
    }
    SetEnvironmentVariableW(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() { SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr); }

}  // namespace e2e
