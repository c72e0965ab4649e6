// What the Preview window draws for a path, read back from the screen pixel
// by pixel: where the path starts, what is cut off, and what comes back
// after the window was covered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/player_support.h"
#include "tests/e2e/preview_support.h"
#include "tests/support/screen.h"

namespace e2e {
namespace {

TEST(Preview, DrawsThePathFromTheMiddleOfTheWindow) {
    ProgramFolder folder;
    App app(folder);
    HWND preview = previewOf(folder, app, kShortWalk);
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(clientSize(preview).cx, 466);
    ASSERT_EQ(clientSize(preview).cy, 326);
    EXPECT_TRUE(showsPath(preview, kShortWalk));

    // The same, worked out by hand: start (3495, 2445) twips = (233, 163),
    // step 49 twips; up twice to y 2347 (156), right to x 3544 (236), down
    // to y 2396 (160), left twice to x 3446 (230).
    Capture seen = captureClient(preview);
    ASSERT_EQ(seen.width, 466);
    struct Spot {
        int x, y;
        bool inked;
    } spots[] = {{233, 163, true},  {233, 156, true},  {236, 156, true},  {236, 160, true},
                 {230, 160, true},  {233, 164, false}, {233, 155, false}, {237, 156, false},
                 {229, 160, false}, {234, 163, false}, {0, 0, false},     {465, 325, false}};
    for (const Spot& s : spots) {
        EXPECT_EQ(seen.at(s.x, s.y), s.inked ? ink() : background())
            << "at (" << s.x << "," << s.y << "): " << hex(seen.at(s.x, s.y));
    }
    closePreview(app, preview);
}

TEST(Preview, EntriesThatDoNotMoveStillMarkTheStart) {
    ProgramFolder folder;
    App app(folder);
    const std::vector<std::string> still = {"JUMP", "up", "UP ", "", "Right"};
    HWND preview = previewOf(folder, app, still);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(showsPath(preview, still));
    Capture seen = captureClient(preview);
    ASSERT_EQ(seen.width, 466);
    EXPECT_EQ(seen.at(233, 163), ink()) << "the point segments leave no mark at the start";
    int inked = 0;
    for (COLORREF c : seen.pixels) inked += c == ink();
    EXPECT_EQ(inked, 1) << "only the start is marked";
    closePreview(app, preview);
}

TEST(Preview, APathLeavingTheWindowIsCutOffAtItsEdge) {
    ProgramFolder folder;
    App app(folder);
    // Steps of 49 twips from (3495, 2445): 60 up leave the top (the 50th
    // already does), 40 left run along above it, 90 down come back in
    // across the top edge at x 1535, and 120 right leave by the right side
    // at y 3915.
    std::vector<std::string> walk(60, "UP");
    walk.insert(walk.end(), 40, "LEFT");
    walk.insert(walk.end(), 90, "DOWN");
    walk.insert(walk.end(), 120, "RIGHT");
    HWND preview = previewOf(folder, app, walk);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(showsPath(preview, walk));
    Capture seen = captureClient(preview);
    ASSERT_EQ(seen.width, 466);
    EXPECT_EQ(seen.at(233, 0), ink()) << "the way up reaches the top edge";
    EXPECT_EQ(seen.at(102, 0), ink()) << "the way down comes in at the top edge";
    EXPECT_EQ(seen.at(465, 261), ink()) << "the way right reaches the right edge";
    closePreview(app, preview);
}

// A plain window of the test's own, to lay over the preview.
HWND createCover(const RECT& onScreen) {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
        wc.lpszClassName = L"PreviewTestCover";
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) return nullptr;
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"PreviewTestCover", L"", WS_POPUP, onScreen.left,
                                 onScreen.top, onScreen.right - onScreen.left, onScreen.bottom - onScreen.top, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (cover) {
        ShowWindow(cover, SW_SHOWNOACTIVATE);
        SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return cover;
}

TEST(Preview, APartThatWasCoveredShowsThePathAgain) {
    ProgramFolder folder;
    App app(folder);
    HWND preview = previewOf(folder, app, kShortWalk);
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(showsPath(preview, kShortWalk));

    // Over the middle of the client area, where the path lies.
    RECT middle{150, 100, 320, 230};
    MapWindowPoints(preview, nullptr, reinterpret_cast<POINT*>(&middle), 2);
    HWND cover = createCover(middle);
    ASSERT_NE(cover, nullptr);
    int covered = 0;
    bool seenCovered = waitUntil([&] {
        pumpOwnMessages();
        Capture seen = captureClient(preview);
        covered = 0;
        for (int y = 100; y < 230; ++y)
            for (int x = 150; x < 320; ++x) covered += seen.at(x, y) == RGB(255, 0, 255);
        return covered == 170 * 130;
    });
    ASSERT_TRUE(seenCovered) << "the cover showed over only " << covered << " of " << 170 * 130 << " pixels";
    DestroyWindow(cover);
    pumpOwnMessages();
    EXPECT_TRUE(showsPath(preview, kShortWalk)) << "after the cover went away";

    // Where the system keeps no copy of the window's pixels, whatever lay
    // on top is still there until the window paints the part again. Leave
    // such leftovers there, then ask for the repaint the system would ask for.
    const RECT part{150, 100, 320, 230};
    HDC dc = GetDC(preview);
    ASSERT_NE(dc, nullptr);
    HBRUSH leftover = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &part, leftover);
    DeleteObject(leftover);
    ReleaseDC(preview, dc);
    ASSERT_TRUE(waitUntil([&] { return captureClient(preview).at(233, 163) == RGB(255, 0, 255); }))
        << "the leftover pixels never showed";
    RedrawWindow(preview, &part, nullptr, RDW_INVALIDATE | RDW_ERASE);
    EXPECT_TRUE(showsPath(preview, kShortWalk)) << "after the uncovered part was repainted";
    RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    EXPECT_TRUE(showsPath(preview, kShortWalk)) << "after the whole window was repainted";
    closePreview(app, preview);
}

}  // namespace
}  // namespace e2e
