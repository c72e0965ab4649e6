#include "core/key_strings.h"

namespace tavrel {

std::span<const Key> keysFor(std::string_view entry) {
    const Direction* d = directionNamed(entry);
    if (d == nullptr) return {};
    const KeyPieces& keys = kDirectionKeys[static_cast<std::size_t>(d->id)];
    return {keys.keys.data(), keys.count};
}

FocusShift shiftAfter(std::span<const Key> keys, std::size_t sent) {
    FocusShift shift;
    for (std::size_t i = 0; i < sent && i < keys.size(); ++i) {
        if (keys[i] == Key::Down) ++shift.below;
        if (keys[i] == Key::Up) --shift.below;
        if (keys[i] == Key::Space) shift.pressed = true;
    }
    return shift;
}

std::optional<std::size_t> carryOnFrom(std::span<const Key> keys, FocusShift shift) {
    // Each start of a key string leaves its own shift, so the first match is the only one.
    for (std::size_t sent = 0; sent <= keys.size(); ++sent)
        if (shiftAfter(keys, sent) == shift) return sent;
    return std::nullopt;
}

}  // namespace tavrel
