// The receiving dialog that the playback tests and benchmarks send keys to,
// checked on its own: the player's key strings for a short path, typed into
// it, must press exactly the buttons of the path, leave every key event in
// its log in order, and bring the focus back to where it started.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/key_strings.h"
#include "tests/e2e/player_support.h"
#include "tests/support/receiver.h"

namespace e2e {
namespace {

// Every button once, then a repeat and a step back to the first button, so a
// focus left one step off by the previous entry shows up.
const std::vector<std::string> kPath = {"DOWN", "LEFT", "RIGHT", "UP", "UP", "DOWN"};

WORD virtualKeyOf(tavrel::Key key) {
    if (key == tavrel::Key::Down) return VK_DOWN;
    if (key == tavrel::Key::Up) return VK_UP;
    return VK_SPACE;
}

TEST(ReceivingDialog, ThePlayersKeysPressThePathsButtonsAndLeaveTheFocusWhereItWas) {
    Receiver receiver;
    EXPECT_EQ(windowText(receiver.dialog()), L"Tavrel Receiver");
    ASSERT_TRUE(receiver.bringForward()) << "the dialog did not come to the foreground";
    ASSERT_EQ(receiver.focusedControl(), L"Move Down") << "where the focus starts";

    // Back to back, as the player sends them in its fastest mode: the dialog
    // must cope with keys queued faster than it runs.
    for (const auto& entry : kPath)
        for (const tavrel::Key key : tavrel::keysFor(entry)) tapKey(virtualKeyOf(key));

    // Every press happens while the last key-up is handled, so once the log
    // is as long as expected, any extra line would be in it too.
    const std::vector<std::string> expected = expectedReceiverEvents(kPath);
    ReceiverLog log;
    waitUntil([&] { return (log = receiver.log()).lines.size() >= expected.size(); }, 15s);
    EXPECT_EQ(log.events(), expected) << firstDifference(log.events(), expected);
    EXPECT_EQ(log.presses(), kPath);
    EXPECT_TRUE(log.malformed.empty()) << log.malformed.size() << " malformed lines, the first: " << log.malformed[0];
    for (std::size_t i = 1; i < log.lines.size(); ++i)
        EXPECT_GE(log.lines[i].micros, log.lines[i - 1].micros) << "the log's times go backwards at line " << i;
    EXPECT_EQ(receiver.focusedControl(), L"Move Down") << "where the focus ends";
    EXPECT_EQ(receiver.close(), 0) << "the dialog's exit code after WM_CLOSE (-1: it had to be ended)";
}

}  // namespace
}  // namespace e2e
