// Save and Load driven through the buttons, against real files.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/message_checks.h"
#include "tests/support/driver.h"

namespace e2e {
namespace {

std::wstring systemText(DWORD code) {
    wchar_t buffer[512];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                             512, nullptr);
    std::wstring text(buffer, n);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

// The *.tmp files in the program folder.
std::vector<std::wstring> temporaryFiles(const ProgramFolder& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(anyLength(folder.file(L"*.tmp")).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

// Loads `bytes` into the running program through a list file and the Load button.
void loadThroughButton(const ProgramFolder& folder, const App& app, const std::string& bytes, std::size_t entries) {
    folder.write(kListFile, bytes);
    app.click(L"Load");
    ASSERT_TRUE(waitUntil([&] { return app.listItems().size() == entries; }))
        << "the list holds " << app.listItems().size() << " entries, expected " << entries;
}

TEST(ListFile, SaveThenLoadKeepsEveryByte) {
    ProgramFolder folder;
    App app(folder);
    // Every byte but NUL and CR, with a lone LF inside an entry, an empty
    // entry, and a NUL that must not hide the rest of its entry.
    std::string odd;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') odd.push_back(static_cast<char>(b));
    const std::string original = "UP\r\nUP\r\nRIGHT\r\n\r\nline\nfeed\r\n" + odd + "\r\nDOWN\r\n" +
                                 std::string("UP\0X\r\n", 6);
    loadThroughButton(folder, app, original, 8);
    EXPECT_EQ(app.listItems()[2], L"RIGHT");
    EXPECT_EQ(app.listItems()[3], L"");
    EXPECT_EQ(app.listItems()[7], L"UP\u2400X");

    DeleteFileW(folder.file(kListFile).c_str());
    app.click(L"Save");
    bool exists = false;
    ASSERT_TRUE(waitUntil([&] {
        folder.read(kListFile, &exists);
        return exists;
    })) << "Save wrote no list file";
    ASSERT_TRUE(app.responsive());
    EXPECT_EQ(folder.read(kListFile), original);

    // And read back: a fresh file of other content, then the saved bytes
    // again, while another program holds the file open for writing.
    loadThroughButton(folder, app, "LEFT\r\n", 1);
    folder.write(kListFile, original);
    HANDLE writer = CreateFileW(folder.file(kListFile).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    app.click(L"Load");
    EXPECT_TRUE(waitUntil([&] { return app.listItems().size() == 8; })) << "Load refused a file shared for writing";
    CloseHandle(writer);
    EXPECT_TRUE(noMessageBox(app));
}

TEST(ListFile, SavingAnEmptyListLeavesAnEmptyFile) {
    ProgramFolder folder;
    folder.write(kListFile, "UP\r\nUP\r\nRIGHT\r\n");
    App app(folder);
    app.click(L"Save");
    ASSERT_TRUE(waitUntil([&] { return folder.read(kListFile).empty(); })) << folder.read(kListFile);
    EXPECT_TRUE(noMessageBox(app));
}

TEST(ListFile, LoadWithNoFileReportsItAndKeepsTheList) {
    ProgramFolder folder;
    App app(folder);
    loadThroughButton(folder, app, "UP\r\nLEFT\r\n", 2);
    DeleteFileW(folder.file(kListFile).c_str());

    app.click(L"Load");
    ASSERT_TRUE(boxSays(app, systemText(ERROR_FILE_NOT_FOUND), kStopIcon)) << "for the missing list file";
    EXPECT_EQ(app.listItems(), (std::vector<std::wstring>{L"UP", L"LEFT"}));
}

struct Obstacle {
    const char* name;
    // Puts something in the list file's place that cannot be replaced.
    void (*place)(const ProgramFolder& folder);
    // What must still be there afterwards.
    bool (*intact)(const ProgramFolder& folder);
    // Whether the new list gets written beside it first.
    bool written;
};

const Obstacle kObstacles[] = {
    {"a folder of that name",
     [](const ProgramFolder& f) { ASSERT_TRUE(CreateDirectoryW(f.file(kListFile).c_str(), nullptr)); },
     [](const ProgramFolder& f) {
         DWORD a = GetFileAttributesW(f.file(kListFile).c_str());
         return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
     },
     true},
    {"a read-only file",
     [](const ProgramFolder& f) {
         f.write(kListFile, "OLD\r\n");
         ASSERT_TRUE(SetFileAttributesW(f.file(kListFile).c_str(), FILE_ATTRIBUTE_READONLY));
     },
     [](const ProgramFolder& f) { return f.read(kListFile) == "OLD\r\n"; }, false},
};

TEST(ListFile, SaveThatCannotReplaceTheFileReportsAndKeepsEverything) {
    for (const Obstacle& obstacle : kObstacles) {
        SCOPED_TRACE(obstacle.name);
        ProgramFolder folder;
        App app(folder);
        loadThroughButton(folder, app, "UP\r\nDOWN\r\n", 2);
        DeleteFileW(folder.file(kListFile).c_str());
        obstacle.place(folder);

        app.click(L"Save");
        MessageBoxSeen box = takeMessageBox(app);
        ASSERT_NE(box.hwnd, nullptr) << "Save reported nothing";
        EXPECT_EQ(box.icon, 16);
        EXPECT_FALSE(box.text.empty());
        ASSERT_TRUE(app.responsive());
        EXPECT_TRUE(app.running());
        EXPECT_TRUE(obstacle.intact(folder)) << "the old list file was harmed";
        EXPECT_EQ(app.listItems(), (std::vector<std::wstring>{L"UP", L"DOWN"}));
        // A list written but not put in place stays where the message says.
        if (obstacle.written) {
            EXPECT_EQ(folder.read(kListFile + L".tmp"), "UP\r\nDOWN\r\n");
            EXPECT_NE(box.text.find(L"\"" + folder.file(kListFile) + L".tmp\""), std::wstring::npos) << narrow(box.text);
        } else {
            EXPECT_EQ(temporaryFiles(folder), std::vector<std::wstring>{}) << "left behind";
        }
        SetFileAttributesW(folder.file(kListFile).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(ListFile, LoadKeepsTheFirst32767LinesAndSaysSo) {
    const struct {
        const char* name;
        int lines;
    } cases[] = {{"three too many", 32770}, {"a million", 1000000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFolder folder;
        App app(folder);
        std::string bytes;
        for (int i = 0; i < c.lines; ++i) bytes += (i % 2 ? "UP\r\n" : "DOWN\r\n");
        folder.write(kListFile, bytes);
        app.click(L"Load");
        auto started = std::chrono::steady_clock::now();
        MessageBoxSeen box = takeMessageBox(app, 120s);
        std::printf("the notice came after %lld ms\n", static_cast<long long>(std::chrono::duration_cast<Millis>(
                                                            std::chrono::steady_clock::now() - started).count()));
        ASSERT_NE(box.hwnd, nullptr) << "no notice about the lines left out";
        EXPECT_EQ(box.icon, 48);
        EXPECT_EQ(box.text, L"The list file holds " + std::to_wstring(c.lines) +
                                L" lines, more than the list can take. Only the first 32767 were loaded.");
        ASSERT_TRUE(app.responsive());
        EXPECT_EQ(app.listCount(), 32767);
        EXPECT_EQ(app.listItem(32766), L"DOWN");
    }
}

// A save cut off leaves at most its one temporary file, which the next save
// writes over; a save keeps what the user gave the old file.
TEST(ListFile, AnInterruptedSaveLeavesAtMostOneTemporaryFile) {
    std::string big;
    for (int i = 0; i < 32767; ++i) big += (i % 2 ? "LEFT\r\n" : "RIGHT\r\n");
    ProgramFolder folder;
    {
        App app(folder);
        loadThroughButton(folder, app, "UP\r\nDOWN\r\n", 2);
        ASSERT_TRUE(SetFileAttributesW(folder.file(kListFile).c_str(), FILE_ATTRIBUTE_HIDDEN));
        folder.write(kListFile + L".tmp", "half a save");
        app.click(L"Save");
        // Read only once the save is over, when its temporary file has gone:
        // a read at the moment of the rename holds the file open and makes
        // the save fail.
        ASSERT_TRUE(waitUntil([&] { return temporaryFiles(folder).empty(); })) << "the save never ended";
        ASSERT_TRUE(app.responsive());
        ASSERT_EQ(folder.read(kListFile), "UP\r\nDOWN\r\n");
        EXPECT_TRUE(noMessageBox(app));
        EXPECT_EQ(temporaryFiles(folder), std::vector<std::wstring>{});
        EXPECT_TRUE(GetFileAttributesW(folder.file(kListFile).c_str()) & FILE_ATTRIBUTE_HIDDEN)
            << "the saved list file lost its hidden attribute";
        SetFileAttributesW(folder.file(kListFile).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // Ended while saving a full list again and again, at a different moment
    // each time.
    for (int run = 0; run < 5; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        folder.write(kListFile, big);
        App app(folder);
        app.click(L"Load");
        ASSERT_TRUE(waitUntil([&] { return app.listCount() == 32767; }));
        for (int i = 0; i < 20; ++i) app.click(L"Save");
        Sleep(static_cast<DWORD>(5 + 37 * run));
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, app.pid());
        TerminateProcess(process, 1);
        CloseHandle(process);
        ASSERT_TRUE(app.waitForExit());
        EXPECT_LE(temporaryFiles(folder).size(), 1u);
        EXPECT_EQ(folder.read(kListFile), big) << "the list file is not whole";
    }
}

struct FolderCase {
    const char* name;
    std::wstring levels;
    std::size_t length;     // of the whole program folder path, 0: as it comes
    std::wstring neighbour;  // beside the program folder, with files of its own
};

const FolderCase kFolders[] = {
    {"Cyrillic", L"Карта проекта", 0, L""},
    {"Japanese", L"マップ", 0, L""},
    {"Latin-1", L"Café", 0, L""},
    {"best-fit look-alike beside its neighbour", L"Dvořák", 0, L"Dvorák"},
    {"250 characters", L"", 250, L""},
    {"430 characters", std::wstring(200, L'a') + L"\\", 430, L""},
};

FILETIME lastAccess(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(anyLength(path).c_str(), GetFileExInfoStandard, &data);
    return data.ftLastAccessTime;
}

// Sets the file's last access far back, before its last write, so that the
// file system (relatime) records the next read.
void ageLastAccess(const std::wstring& path) {
    HANDLE h = CreateFileW(anyLength(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    SYSTEMTIME old{2001, 1, 1, 1, 0, 0, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&old, &ft);
    SetFileTime(h, nullptr, &ft, nullptr);
    CloseHandle(h);
}

bool accessedSince(const std::wstring& path, const FILETIME& before) {
    FILETIME now = lastAccess(path);
    return CompareFileTime(&now, &before) != 0;
}

// Load, Save, the settings and a sound, each in the program's own folder
// whatever its name or length, and nowhere else.
TEST(ListFile, EveryProgramFolderUsesItsOwnFilesOnly) {
    const std::string kList = "UP \r\ndown\r\n";  // no key strings: playing them sends nothing
    for (const FolderCase& c : kFolders) {
        SCOPED_TRACE(c.name);
        ProgramFolder folder(c.levels, c.length);
        if (c.length) {
            ASSERT_EQ(folder.path().size(), c.length);
        }
        const std::wstring other = folder.root() + L"\\" + c.neighbour;
        if (!c.neighbour.empty()) {
            ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
            writeFile(other + L"\\" + kListFile, "NEIGHBOUR\r\n");
            writeFile(other + L"\\TavrelXP.vmi", "1\r\n1\r\n0\r\n");
        }
        folder.write(L"TavrelXP.vmi", "0\r\n0\r\n2\r\n");
        folder.write(kListFile, kList);
        ageLastAccess(folder.file(L"key.wav"));
        ageLastAccess(folder.file(L"click.wav"));
        const FILETIME keyBefore = lastAccess(folder.file(L"key.wav"));
        const FILETIME clickBefore = lastAccess(folder.file(L"click.wav"));

        App app(folder);
        EXPECT_TRUE(app.checked(L"Ultra-surpressed")) << "the settings were not read from the program's folder";
        app.click(L"Load");
        EXPECT_TRUE(waitUntil([&] { return app.listItems() == std::vector<std::wstring>{L"UP ", L"down"}; }))
            << "Load showed " << app.listItems().size() << " entries";
        DeleteFileW(anyLength(folder.file(kListFile)).c_str());
        app.click(L"Save");
        EXPECT_TRUE(waitUntil([&] { return folder.read(kListFile) == kList; })) << "Save wrote no list file there";
        EXPECT_TRUE(noMessageBox(app));

        // The countdown's first step plays key.wav after a second; click.wav
        // is only played before a key, and none is sent.
        app.click(L"Play");
        EXPECT_TRUE(waitUntil([&] { return accessedSince(folder.file(L"key.wav"), keyBefore); }, 10s))
            << "key.wav was never read";
        EXPECT_FALSE(accessedSince(folder.file(L"click.wav"), clickBefore)) << "a file not played counts as read";

        app.click(L"Original");
        ASSERT_TRUE(waitUntil([&] { return app.checked(L"Original"); }));
        PostMessageW(app.main(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(app.waitForExit()) << "the program did not end after its window was closed";
        EXPECT_EQ(folder.read(L"TavrelXP.vmi"), "0\r\n0\r\n0\r\n") << "the settings were not written at close";
        EXPECT_EQ(temporaryFiles(folder), std::vector<std::wstring>{});
        if (!c.neighbour.empty()) {
            EXPECT_EQ(readFile(other + L"\\" + kListFile), "NEIGHBOUR\r\n") << "the neighbour's list was touched";
            EXPECT_EQ(readFile(other + L"\\TavrelXP.vmi"), "1\r\n1\r\n0\r\n") << "the neighbour's settings were touched";
        }
    }
}

}  // namespace
}  // namespace e2e
