// What each recorded entry turns into when played back into the editor.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// The key string for an entry, or nothing when the entry is not one of the
// four direction names exactly as the recorder writes them. Each string walks
// the focus down to the direction's button, presses it with the space bar and
// walks back up, so the focus ends where it began.
std::optional<std::string_view> keyStringFor(std::string_view entry);

// Splits a key string at every comma. Empty pieces are kept so the caller sees
// the string as written; empty text gives no pieces at all.
std::vector<std::string> splitKeyString(std::string_view keys);

// The pieces of the key strings: two walk the focus, one presses its button.
inline constexpr std::string_view kDownPiece = "{DOWN}";
inline constexpr std::string_view kUpPiece = "{UP}";
inline constexpr std::string_view kSpacePiece = " ";

// Where some pieces of a key string have left the dialog's focus: how many
// buttons below the one it started on, and whether a button was pressed.
struct FocusShift {
    int below = 0;
    bool pressed = false;
    bool operator==(const FocusShift&) const = default;
};

// The shift the first `sent` pieces leave.
FocusShift shiftAfter(const std::vector<std::string>& pieces, std::size_t sent);

// The first piece from which the rest of `pieces`, sent after `shift`, leaves
// the dialog as the whole string would: pieces.size() when nothing is left
// to send, nothing when no start of the string leaves that shift.
std::optional<std::size_t> carryOnFrom(const std::vector<std::string>& pieces, FocusShift shift);

}  // namespace tavrel
