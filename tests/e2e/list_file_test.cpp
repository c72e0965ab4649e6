// Save and Load driven through the buttons, against real files.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/driver.h"

namespace e2e {
namespace {

const std::wstring kListFile = L"TavrelXP.txt";

std::wstring systemText(DWORD code) {
    wchar_t buffer[512];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                             512, nullptr);
    std::wstring text(buffer, n);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
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
    // Every byte but NUL and CR, with a lone LF inside an entry and an empty entry.
    std::string odd;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') odd.push_back(static_cast<char>(b));
    const std::string original = "UP\r\nUP\r\nRIGHT\r\n\r\nline\nfeed\r\n" + odd + "\r\nDOWN\r\n";
    loadThroughButton(folder, app, original, 7);
    EXPECT_EQ(app.listItems()[2], L"RIGHT");
    EXPECT_EQ(app.listItems()[3], L"");

    DeleteFileW(folder.file(kListFile).c_str());
    app.click(L"Save");
    bool exists = false;
    ASSERT_TRUE(waitUntil([&] {
        folder.read(kListFile, &exists);
        return exists;
    })) << "Save wrote no list file";
    ASSERT_TRUE(app.responsive());
    EXPECT_EQ(folder.read(kListFile), original);

    // And read back: a fresh file of other content, then the saved bytes again.
    loadThroughButton(folder, app, "LEFT\r\n", 1);
    loadThroughButton(folder, app, original, 7);
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
    MessageBoxSeen box = takeMessageBox(app);
    ASSERT_NE(box.hwnd, nullptr) << "no message box for the missing list file";
    EXPECT_EQ(box.caption, L"Tavrel");
    EXPECT_EQ(box.text, systemText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(box.icon, 16);
    ASSERT_TRUE(app.responsive());
    EXPECT_EQ(app.listItems(), (std::vector<std::wstring>{L"UP", L"LEFT"}));
}

struct Obstacle {
    const char* name;
    // Puts something in the list file's place that cannot be replaced.
    void (*place)(const ProgramFolder& folder);
    // What must still be there afterwards.
    bool (*intact)(const ProgramFolder& folder);
};

const Obstacle kObstacles[] = {
    {"a folder of that name",
     [](const ProgramFolder& f) { ASSERT_TRUE(CreateDirectoryW(f.file(kListFile).c_str(), nullptr)); },
     [](const ProgramFolder& f) {
         DWORD a = GetFileAttributesW(f.file(kListFile).c_str());
         return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
     }},
    {"a read-only file",
     [](const ProgramFolder& f) {
         f.write(kListFile, "OLD\r\n");
         ASSERT_TRUE(SetFileAttributesW(f.file(kListFile).c_str(), FILE_ATTRIBUTE_READONLY));
     },
     [](const ProgramFolder& f) { return f.read(kListFile) == "OLD\r\n"; }},
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
        // No temporary file is left behind.
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(folder.file(L"tav*.tmp").c_str(), &found);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "left behind: " << narrow(found.cFileName);
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
        SetFileAttributesW(folder.file(kListFile).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(ListFile, LoadKeepsTheFirst32767LinesAndSaysSo) {
    ProgramFolder folder;
    App app(folder);
    std::string bytes;
    for (int i = 0; i < 32770; ++i) bytes += (i % 2 ? "UP\r\n" : "DOWN\r\n");
    folder.write(kListFile, bytes);
    app.click(L"Load");
    auto started = std::chrono::steady_clock::now();
    MessageBoxSeen box = takeMessageBox(app, 120s);
    std::printf("the notice came after %lld ms\n", static_cast<long long>(std::chrono::duration_cast<Millis>(
                                                        std::chrono::steady_clock::now() - started).count()));
    ASSERT_NE(box.hwnd, nullptr) << "no notice about the lines left out";
    EXPECT_EQ(box.icon, 48);
    EXPECT_NE(box.text.find(L"32767"), std::wstring::npos) << narrow(box.text);
    ASSERT_TRUE(app.responsive());
    EXPECT_EQ(app.listCount(), 32767);
}

}  // namespace
}  // namespace e2e
