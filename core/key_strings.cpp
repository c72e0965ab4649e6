#include "core/key_strings.h"

#include "core/direction.h"

namespace tavrel {

std::optional<std::string_view> keyStringFor(std::string_view entry) {
    if (const Direction* d = directionNamed(entry)) return d->keyString;
    return std::nullopt;
}

std::vector<std::string> splitKeyString(std::string_view keys) {
    std::vector<std::string> pieces;
    if (keys.empty()) return pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = keys.find(',', start);
        if (comma == std::string_view::npos) {
            pieces.emplace_back(keys.substr(start));
            return pieces;
        }
        pieces.emplace_back(keys.substr(start, comma - start));
        start = comma + 1;
    }
}

FocusShift shiftAfter(const std::vector<std::string>& pieces, std::size_t sent) {
    FocusShift shift;
    for (std::size_t i = 0; i < sent && i < pieces.size(); ++i) {
        if (pieces[i] == kDownPiece) ++shift.below;
        if (pieces[i] == kUpPiece) --shift.below;
        if (pieces[i] == kSpacePiece) shift.pressed = true;
    }
    return shift;
}

std::optional<std::size_t> carryOnFrom(const std::vector<std::string>& pieces, FocusShift shift) {
    // Each start of a key string leaves its own shift, so the first match is the only one.
    for (std::size_t sent = 0; sent <= pieces.size(); ++sent)
        if (shiftAfter(pieces, sent) == shift) return sent;
    return std::nullopt;
}

}  // namespace tavrel
