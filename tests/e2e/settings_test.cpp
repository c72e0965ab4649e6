// The settings file across starts and closes of the real program.
#include <gtest/gtest.h>

#include "tests/support/driver.h"

namespace e2e {
namespace {

bool topmost(HWND w) { return (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Closes the main window as the user would and waits for the process to end.
void closeAndWait(const App& app) {
    PostMessageW(app.main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.waitForExit()) << "the program did not end after its window was closed";
}

TEST(Settings, FirstStartHasTheDefaultsAndClosingWritesThem) {
    ProgramFolder folder;
    {
        App app(folder);
        EXPECT_FALSE(app.checked(L"This window always on top"));
        EXPECT_EQ(app.checkState(L"No keysend sound on play"), BST_CHECKED);
        EXPECT_TRUE(app.checked(L"Surpressed (recommended)"));
        EXPECT_FALSE(topmost(app.main()));
        EXPECT_TRUE(noMessageBox(app));
        closeAndWait(app);
    }
    bool exists = false;
    std::string written = folder.read(kSettingsFile, &exists);
    ASSERT_TRUE(exists) << "closing wrote no settings file";
    EXPECT_EQ(written, "0\r\n1\r\n1\r\n");
}

struct Stored {
    const char* name;
    std::string bytes;
    bool onTop;
    int noSound;
    const wchar_t* mode;
    std::string rewritten;  // what the next close writes, unchanged
};

const Stored kStored[] = {
    {"on top, sound, ultra", "1\r\n0\r\n2\r\n", true, BST_UNCHECKED, L"Ultra-surpressed", "1\r\n0\r\n2\r\n"},
    {"third state, original", "0\r\n1.5\r\n0\r\n", false, BST_INDETERMINATE, L"Original", "0\r\n2\r\n0\r\n"},
    {"bad line 2 stops the rest", "0.4\r\n3\r\n0\r\n", true, BST_CHECKED, L"Surpressed (recommended)",
     "1\r\n1\r\n1\r\n"},
    {"extra lines and blanks", " 0\r\n 0 \r\n2.5\r\nmore\r\n", false, BST_UNCHECKED, L"Ultra-surpressed",
     "0\r\n0\r\n2\r\n"},
    {"junk", "abc\r\n", false, BST_CHECKED, L"Surpressed (recommended)", "0\r\n1\r\n1\r\n"},
};

TEST(Settings, StoredSettingsAreRestoredAtStart) {
    for (const Stored& s : kStored) {
        SCOPED_TRACE(s.name);
        ProgramFolder folder;
        folder.write(kSettingsFile, s.bytes);
        App app(folder);
        EXPECT_EQ(app.checked(L"This window always on top"), s.onTop);
        // The on-top setting takes effect without a click.
        EXPECT_TRUE(waitUntil([&] { return topmost(app.main()) == s.onTop; }, 10s));
        EXPECT_EQ(app.checkState(L"No keysend sound on play"), s.noSound);
        EXPECT_TRUE(app.checked(s.mode));
        EXPECT_TRUE(noMessageBox(app));
        closeAndWait(app);
        EXPECT_EQ(folder.read(kSettingsFile), s.rewritten);
    }
}

TEST(Settings, ARestartRestoresWhatTheUserChose) {
    ProgramFolder folder;
    {
        App app(folder);
        app.click(L"This window always on top");
        app.click(L"No keysend sound on play");
        app.click(L"Original");
        ASSERT_TRUE(waitUntil([&] {
            return app.checked(L"This window always on top") && app.checkState(L"No keysend sound on play") == 0 &&
                   app.checked(L"Original");
        }));
        closeAndWait(app);
    }
    EXPECT_EQ(folder.read(kSettingsFile), "1\r\n0\r\n0\r\n");
    App again(folder);
    EXPECT_TRUE(again.checked(L"This window always on top"));
    EXPECT_TRUE(waitUntil([&] { return topmost(again.main()); }, 10s));
    EXPECT_EQ(again.checkState(L"No keysend sound on play"), BST_UNCHECKED);
    EXPECT_TRUE(again.checked(L"Original"));
    EXPECT_FALSE(again.checked(L"Surpressed (recommended)"));
}

TEST(Settings, AFailedWriteIsReportedAndTheProgramStillEnds) {
    struct Obstacle {
        const char* name;
        bool folder;
    } obstacles[] = {{"a folder of that name", true}, {"a read-only file", false}};
    for (const Obstacle& o : obstacles) {
        SCOPED_TRACE(o.name);
        ProgramFolder folder;
        if (o.folder) {
            ASSERT_TRUE(CreateDirectoryW(folder.file(kSettingsFile).c_str(), nullptr));
        } else {
            folder.write(kSettingsFile, "0\r\n0\r\n2\r\n");
            ASSERT_TRUE(SetFileAttributesW(folder.file(kSettingsFile).c_str(), FILE_ATTRIBUTE_READONLY));
        }
        App app(folder);
        PostMessageW(app.main(), WM_CLOSE, 0, 0);
        MessageBoxSeen box = takeMessageBox(app);
        ASSERT_NE(box.hwnd, nullptr) << "the failed write was not reported";
        EXPECT_EQ(box.icon, 16);
        EXPECT_EQ(box.caption, L"Tavrel");
        EXPECT_TRUE(app.waitForExit()) << "the program did not end after the report";
        if (o.folder) {
            DWORD a = GetFileAttributesW(folder.file(kSettingsFile).c_str());
            EXPECT_TRUE(a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY));
        } else {
            EXPECT_EQ(folder.read(kSettingsFile), "0\r\n0\r\n2\r\n");
            SetFileAttributesW(folder.file(kSettingsFile).c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

}  // namespace
}  // namespace e2e
