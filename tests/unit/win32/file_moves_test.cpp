// The two system calls that decide where a saved list ends up, checked
// against their documentation: under Wine ReplaceFileW never runs in a save,
// so nothing else would notice its arguments swapped or its flags wrong.
//   ReplaceFileW(lpReplacedFileName, lpReplacementFileName, lpBackupFileName,
//                dwReplaceFlags, lpExclude, lpReserved); the last two must be
//                NULL; REPLACEFILE_IGNORE_MERGE_ERRORS is 0x2
//     https://learn.microsoft.com/en-us/windows/win32/api/winbase/nf-winbase-replacefilew
//   MoveFileExW(lpExistingFileName, lpNewFileName, dwFlags);
//                MOVEFILE_REPLACE_EXISTING is 0x1, MOVEFILE_WRITE_THROUGH 0x8
//     https://learn.microsoft.com/en-us/windows/win32/api/winbase/nf-winbase-movefileexw
// Both return nonzero on success, zero with GetLastError's code on failure.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/file_moves.h"

namespace tavrel::win32 {
namespace {

struct Seen {
    std::wstring from;  // the replaced file, or the file moved
    std::wstring to;    // the replacement, or the new name
    bool backup = false;
    DWORD flags = 0;
    bool reservedGiven = false;
};

Seen seen;
DWORD failWith = 0;

BOOL WINAPI recordReplace(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
                          LPVOID reserved) {
    seen = {replaced, replacement, backup != nullptr, flags, exclude != nullptr || reserved != nullptr};
    SetLastError(failWith);
    return failWith == 0;
}

BOOL WINAPI recordMove(LPCWSTR existing, LPCWSTR newName, DWORD flags) {
    seen = {existing, newName, false, flags, false};
    SetLastError(failWith);
    return failWith == 0;
}

TEST(Win32FileMoves, CallsTheSystemAsDocumented) {
    const std::string target = "C:\\Tavrel\\TavrelXP.txt", temp = "C:\\Tavrel\\TavrelXP.txt.tmp";
    const struct {
        const char* name;
        bool replace;
        DWORD failWith;
        const wchar_t* from;
        const wchar_t* to;
        DWORD flags;
    } cases[] = {
        {"replace", true, 0, L"C:\\Tavrel\\TavrelXP.txt", L"C:\\Tavrel\\TavrelXP.txt.tmp", 0x2},
        {"replace fails", true, 1176, L"C:\\Tavrel\\TavrelXP.txt", L"C:\\Tavrel\\TavrelXP.txt.tmp", 0x2},
        {"move", false, 0, L"C:\\Tavrel\\TavrelXP.txt.tmp", L"C:\\Tavrel\\TavrelXP.txt", 0x1 | 0x8},
        {"move fails", false, 5, L"C:\\Tavrel\\TavrelXP.txt.tmp", L"C:\\Tavrel\\TavrelXP.txt", 0x1 | 0x8},
    };
    Win32FileMoves moves(FileMoveCalls{recordReplace, recordMove});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seen = {};
        failWith = c.failWith;
        const std::uint32_t result = c.replace ? moves.replace(target, temp) : moves.move(temp, target);
        EXPECT_EQ(result, c.failWith);
        EXPECT_EQ(seen.from, c.from);
        EXPECT_EQ(seen.to, c.to);
        EXPECT_EQ(seen.flags, c.flags);
        EXPECT_FALSE(seen.backup);
        EXPECT_FALSE(seen.reservedGiven);
    }
}

}  // namespace
}  // namespace tavrel::win32
