// The four directions a path walks, and everything that differs between
// them: the recorder, the key strings, the preview, the list's menu and the
// way back all read this table.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tavrel {

// The table's rows, in its order.
enum class DirectionId { Left, Up, Right, Down };

struct Direction {
    DirectionId id;
    // The entry the recorder writes and every reader matches exactly
    // (case-sensitive, whole text).
    std::string_view name;
    // The arrow key the recorder polls for it.
    int virtualKey;
    // What the player sends into the editor's move dialog, whose direction
    // buttons sit in focus order down, left, right, up with the focus on the
    // first: down-arrows to the button, the space bar, and up-arrows back,
    // so the focus ends where it began.
    std::string_view keyString;
    // One grid step in the preview: x grows to the right, y downwards.
    int dx, dy;
    // The way back.
    DirectionId opposite;
};

// The order is the recorder's polling order, and so the order in which
// presses of one pass are appended.
inline constexpr std::array<Direction, 4> kDirections{{
    {DirectionId::Left, "LEFT", 37, "{DOWN}, ,{UP}", -1, 0, DirectionId::Right},
    {DirectionId::Up, "UP", 38, "{DOWN},{DOWN},{DOWN}, ,{UP},{UP},{UP}", 0, -1, DirectionId::Down},
    {DirectionId::Right, "RIGHT", 39, "{DOWN},{DOWN}, ,{UP},{UP}", 1, 0, DirectionId::Left},
    {DirectionId::Down, "DOWN", 40, " ", 0, 1, DirectionId::Up},
}};

constexpr const Direction& direction(DirectionId id) { return kDirections[static_cast<std::size_t>(id)]; }

// The row whose name `entry` is exactly, or nullptr for any other text.
constexpr const Direction* directionNamed(std::string_view entry) {
    for (const Direction& d : kDirections)
        if (d.name == entry) return &d;
    return nullptr;
}

}  // namespace tavrel
