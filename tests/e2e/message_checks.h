// The check most end-to-end tests end with: the program's next message box
// says this, with this icon, under the program's own title, and once it is
// dismissed the program answers again.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/driver.h"

namespace e2e {

// Icons as the message box shows them: stop, exclamation, information.
inline constexpr int kStopIcon = 16, kExclamationIcon = 48, kInformationIcon = 64;

inline ::testing::AssertionResult boxSays(const App& app, const std::wstring& text, int icon, Millis timeout = kWait) {
    const MessageBoxSeen box = takeMessageBox(app, timeout);
    if (!box.hwnd) return ::testing::AssertionFailure() << "no message box; expected \"" << narrow(text) << "\"";
    if (box.caption != L"Tavrel" || box.text != text || box.icon != icon)
        return ::testing::AssertionFailure() << "the box said \"" << narrow(box.text) << "\" (icon " << box.icon
                                             << ", caption \"" << narrow(box.caption) << "\"), expected \""
                                             << narrow(text) << "\" (icon " << icon << ", caption \"Tavrel\")";
    if (!app.responsive()) return ::testing::AssertionFailure() << "the program stopped answering after the box";
    return ::testing::AssertionSuccess();
}

}  // namespace e2e
