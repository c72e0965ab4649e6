// Message boxes. Paths and messages are UTF-8 text.
#pragma once

#include <string_view>

namespace tavrel {

// Message-box icons, by their MB_ICON numbers.
enum class Icon : int { Stop = 16, Exclamation = 48, Information = 64 };

class Notifier {
public:
    virtual ~Notifier() = default;
    // Modal message box with one OK button and the application title.
    virtual void message(std::string_view text, Icon icon) = 0;
};

}  // namespace tavrel
