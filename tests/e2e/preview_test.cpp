// The Preview window driven from the main window's button: how it opens,
// closes and resizes, read back from the screen pixel by pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/player_support.h"
#include "tests/e2e/preview_support.h"
#include "tests/support/screen.h"

namespace e2e {
namespace {

TEST(Preview, OpensAsAResizableToolWindowOverTheDisabledMainWindow) {
    ASSERT_EQ(screenDpi(), 96) << "sizes are checked at 96 dpi";
    ProgramFolder folder;
    App app(folder);
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "no \"Preview\" window appeared";

    EXPECT_EQ(app.text(preview), L"Preview");
    LONG style = GetWindowLongW(preview, GWL_STYLE);
    LONG exStyle = GetWindowLongW(preview, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "a tool window has the small caption and no taskbar button";
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW) << "it must not ask for a taskbar button";
    EXPECT_TRUE(style & WS_THICKFRAME) << "the user must be able to resize it";
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU) << "it needs its close box";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetClassLongPtrW(preview, GCLP_HICON), ULONG_PTR{0}) << "it has no icon of its own";
    EXPECT_EQ(GetClassLongPtrW(preview, GCLP_HICONSM), ULONG_PTR{0}) << "it has no icon of its own";
    EXPECT_EQ(GetWindow(preview, GW_OWNER), app.main()) << "owned by the main window, so it stays above it";

    SIZE client = clientSize(preview);
    EXPECT_EQ(client.cx, 466) << "6990 twips";
    EXPECT_EQ(client.cy, 326) << "4890 twips";

    // Modal: the main window stays in view but takes no input.
    EXPECT_TRUE(IsWindowVisible(app.main()));
    EXPECT_TRUE(waitUntil([&] { return !IsWindowEnabled(app.main()); })) << "the main window is still enabled";
    EXPECT_TRUE(IsWindowVisible(preview));

    closePreview(app, preview);
}

TEST(Preview, ClosingGivesControlBackAndTheNextClickOpensAFreshWindow) {
    ProgramFolder folder;
    App app(folder);
    HWND preview = previewOf(folder, app, kShortWalk);
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == preview; }))
        << "the preview did not take the activation";
    ASSERT_TRUE(resized(preview, 300, 200));

    closePreview(app, preview);
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(app.main()); })) << "the main window stays disabled";
    EXPECT_TRUE(IsWindowVisible(app.main()));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == app.main(); }))
        << "the activation went to " << GetForegroundWindow() << ", not back to the main window " << app.main();

    // The main window works again: Load takes another list.
    ASSERT_NO_FATAL_FAILURE(loadList(folder, app, {"DOWN", "RIGHT"}));

    // A new window, at the initial size again, drawing the list as it is now.
    HWND again = openPreview(app);
    ASSERT_NE(again, nullptr) << "the second Preview click showed no window";
    SIZE client = clientSize(again);
    EXPECT_EQ(client.cx, 466);
    EXPECT_EQ(client.cy, 326);
    EXPECT_TRUE(showsPath(again, {"DOWN", "RIGHT"}));
    closePreview(app, again);
}

TEST(Preview, ResizingRedrawsTheWholePathRecentredWithANewStep) {
    ProgramFolder folder;
    App app(folder);
    HWND preview = previewOf(folder, app, kShortWalk);
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(showsPath(preview, kShortWalk));

    // Taller than wide: the step comes from the width, 4500 / 100 = 45
    // twips, three pixels; the start moves to (150, 210).
    ASSERT_TRUE(resized(preview, 300, 420));
    EXPECT_TRUE(showsPath(preview, kShortWalk));
    Capture tall = captureClient(preview);
    EXPECT_EQ(tall.at(150, 210), ink()) << "the start is not in the middle";
    EXPECT_EQ(tall.at(150, 204), ink()) << "two steps up are six pixels";
    EXPECT_EQ(tall.at(150, 203), background());

    // Wider than tall, and the step 3750 / 100 = 37.5 rounds to 38 twips.
    ASSERT_TRUE(resized(preview, 600, 250));
    EXPECT_TRUE(showsPath(preview, kShortWalk));

    // Smaller again: nothing of the larger picture may stay behind.
    ASSERT_TRUE(resized(preview, 200, 150));
    EXPECT_TRUE(showsPath(preview, kShortWalk));
    closePreview(app, preview);
}

TEST(Preview, AnEmptyListShowsABlankWindow) {
    ProgramFolder folder;
    App app(folder);
    ASSERT_EQ(app.listCount(), 0);
    HWND preview = openPreview(app);
    ASSERT_NE(preview, nullptr) << "Preview with an empty list showed no window";
    EXPECT_TRUE(showsPath(preview, {}));
    Capture seen = captureClient(preview);
    int inked = 0;
    for (COLORREF c : seen.pixels) inked += c != background();
    EXPECT_EQ(inked, 0) << "pixels that are not the background";
    closePreview(app, preview);
}

}  // namespace
}  // namespace e2e
