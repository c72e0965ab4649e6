// What each recorded entry turns into when played back into the editor.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "core/direction.h"
#include "platform/key_sender.h"

namespace tavrel {

// The keys of a key string, in order.
struct KeyPieces {
    std::array<Key, 8> keys{};
    std::size_t count = 0;
    // False when the text holds anything but "{DOWN}", "{UP}" and " "
    // between its commas, or more pieces than fit.
    bool valid = true;
};

// Turns key-string text into keys. Run once, at compile time, on the
// direction table: nothing downstream reads the text again.
constexpr KeyPieces parseKeyString(std::string_view text) {
    KeyPieces out;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view piece = text.substr(0, comma);
        if (out.count == out.keys.size()) out.valid = false;
        else if (piece == "{DOWN}") out.keys[out.count++] = Key::Down;
        else if (piece == "{UP}") out.keys[out.count++] = Key::Up;
        else if (piece == " ") out.keys[out.count++] = Key::Space;
        else out.valid = false;
        if (!out.valid || comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return out;
}

inline constexpr std::array<KeyPieces, kDirections.size()> kDirectionKeys = [] {
    std::array<KeyPieces, kDirections.size()> keys{};
    for (std::size_t i = 0; i < kDirections.size(); ++i) keys[i] = parseKeyString(kDirections[i].keyString);
    return keys;
}();
static_assert([] {
    for (const KeyPieces& keys : kDirectionKeys)
        if (!keys.valid) return false;
    return true;
}(), "every key string of the direction table is made of {DOWN}, {UP} and spaces");

// The keys for an entry: none for any text but the four direction names
// exactly as the recorder writes them. Each walks the focus down to the
// direction's button, presses it with the space bar and walks back up, so
// the focus ends where it began.
std::span<const Key> keysFor(std::string_view entry);

// Where some keys of a key string have left the dialog's focus: how many
// buttons below the one it started on, and whether a button was pressed.
struct FocusShift {
    int below = 0;
    bool pressed = false;
    bool operator==(const FocusShift&) const = default;
};

// The shift the first `sent` keys leave.
FocusShift shiftAfter(std::span<const Key> keys, std::size_t sent);

// The first key from which the rest of `keys`, sent after `shift`, leaves
// the dialog as the whole string would: keys.size() when nothing is left to
// send, nothing when no start of the string leaves that shift.
std::optional<std::size_t> carryOnFrom(std::span<const Key> keys, FocusShift shift);

}  // namespace tavrel
