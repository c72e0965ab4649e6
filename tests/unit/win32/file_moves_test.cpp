// The calls that decide where a saved list ends up, against their
// documentation (under Wine a save never calls ReplaceFileW):
// ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved), the
// last two NULL, REPLACEFILE_IGNORE_MERGE_ERRORS = 0x2,
// https://learn.microsoft.com/en-us/windows/win32/api/winbase/nf-winbase-replacefilew;
// MoveFileExW(existing, new name, flags), MOVEFILE_REPLACE_EXISTING = 0x1,
// MOVEFILE_WRITE_THROUGH = 0x8,
// https://learn.microsoft.com/en-us/windows/win32/api/winbase/nf-winbase-movefileexw.
// Both return nonzero on success, else zero with the code in GetLastError.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/file_moves.h"

namespace tavrel::win32 {
namespace {

std::wstring seen;  // the arguments, as "from|to|backup|flags|exclude,reserved"
DWORD failWith = 0;

BOOL WINAPI replaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
                        LPVOID reserved) {
    seen = std::wstring(replaced) + L"|" + replacement + L"|" + (backup ? backup : L"-") + L"|" +
           std::to_wstring(flags) + L"|" + (exclude || reserved ? L"given" : L"-");
    SetLastError(failWith);
    return failWith == 0;
}

BOOL WINAPI moveFile(LPCWSTR existing, LPCWSTR newName, DWORD flags) {
    seen = std::wstring(existing) + L"|" + newName + L"|" + std::to_wstring(flags);
    SetLastError(failWith);
    return failWith == 0;
}

TEST(Win32FileMoves, CallsTheSystemAsDocumented) {
    const struct {
        bool replace;
        DWORD failWith;
        std::wstring seen;
    } cases[] = {
        {true, 0, L"C:\\Tavrel\\TavrelXP.txt|C:\\Tavrel\\TavrelXP.txt.tmp|-|2|-"},
        {true, 1176, L"C:\\Tavrel\\TavrelXP.txt|C:\\Tavrel\\TavrelXP.txt.tmp|-|2|-"},
        {false, 0, L"C:\\Tavrel\\TavrelXP.txt.tmp|C:\\Tavrel\\TavrelXP.txt|9"},
        {false, 5, L"C:\\Tavrel\\TavrelXP.txt.tmp|C:\\Tavrel\\TavrelXP.txt|9"},
    };
    Win32FileMoves moves(FileMoveCalls{replaceFile, moveFile});
    const std::string target = "C:\\Tavrel\\TavrelXP.txt", temp = target + ".tmp";
    for (const auto& c : cases) {
        failWith = c.failWith;
        EXPECT_EQ(c.replace ? moves.replace(target, temp) : moves.move(temp, target), c.failWith);
        EXPECT_EQ(seen, c.seen);
    }
}

}  // namespace
}  // namespace tavrel::win32
