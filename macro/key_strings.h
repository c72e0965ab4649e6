// What each recorded entry turns into when played back into the editor.
#pragma once

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

}  // namespace tavrel
