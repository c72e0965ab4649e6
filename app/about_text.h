// The About window's own words: the project page, the credit line and the
// description. Neutral on purpose: they name no person and no other program.
#pragma once

#include <string_view>

namespace tavrel {

// Shown by the link label and opened, exactly as shown, when it is clicked.
inline constexpr std::string_view kProjectAddress = "https://tavrel.example.org/";

inline constexpr std::string_view kCreditLine = "By the Tavrel team";

// Word-wrapped in a small font inside 4935 x 855 twips, so it must stay
// short: five lines fill the box. The address starts a line of its own, so
// no line break can fall inside it.
inline constexpr std::string_view kDescription =
    "Tavrel records a walk made with the four arrow keys and types it back as keystrokes into a map "
    "editor, one step at a time.\r\n"
    "Project page: https://tavrel.example.org/ - look there for updates. You may pass Tavrel on to "
    "others free of charge, as long as it stays unchanged. It comes with no warranty of any kind; you "
    "use it at your own risk.";

}  // namespace tavrel
