// The program as users get it: unpacked from the release ZIP into a folder
// of its own. release_test.sh unpacks the ZIP and names the folder in
// TAVREL_RELEASE_FOLDER; without it there is nothing to test here.
#include <gtest/gtest.h>

#include <string>

#include "app/main_layout.h"
#include "tavrel_version.h"
#include "tests/e2e/about_driver.h"
#include "tests/support/driver.h"

namespace e2e {
namespace {

TEST(Release, TheUnpackedProgramStartsShowsItsWindowsAndEnds) {
    wchar_t folder[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"TAVREL_RELEASE_FOLDER", folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) GTEST_SKIP() << "release_test.sh runs this with the unpacked release";

    std::wstring exe = std::wstring(folder) + L"\\tavrel.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "cannot start " << narrow(exe);
    struct Ender {
        PROCESS_INFORMATION& pi;
        ~Ender() {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(pi.hProcess, 1);
                WaitForSingleObject(pi.hProcess, 10000);
            }
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    } ender{pi};

    HWND main = waitForTopLevel(pi.dwProcessId, L"TavrelMainWindow");
    ASSERT_NE(main, nullptr) << "the unpacked program showed no main window";
    EXPECT_EQ(windowText(main), L"Tavrel for RMXP");

    // Its version comes from the program's own resources: still there in the packed exe.
    HWND aboutButton = GetDlgItem(main, static_cast<int>(tavrel::ControlId::Command4));
    ASSERT_NE(aboutButton, nullptr);
    PostMessageW(aboutButton, BM_CLICK, 0, 0);
    HWND about = waitForTopLevel(pi.dwProcessId, L"TavrelAbout");
    ASSERT_NE(about, nullptr) << "About did not open";
    EXPECT_EQ(windowText(aboutControl(about, tavrel::AboutId::Label4)), L"Tavrel (version:" TAVREL_VERSION_TEXT ".)");
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(about) && IsWindowVisible(main); })) << "About did not close";

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, static_cast<DWORD>(kWait.count())), WAIT_OBJECT_0)
        << "the program did not end when its window was closed";
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace e2e
