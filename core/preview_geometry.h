// The path preview as pure geometry: which segments one redraw draws, in
// twips, for a client area of a given size and a keystroke list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

struct Point {
    std::int32_t x, y;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Segment {
    Point from, to;
    friend bool operator==(const Segment&, const Segment&) = default;
};

// Nearest integer, an exact half going to the even neighbour, whatever the
// floating-point rounding mode happens to be. Throws std::overflow_error for
// NaN or a value outside the signed 32-bit range instead of wrapping.
std::int32_t roundHalfEven(float value);

// One segment per entry, in list order, each from the point the path had
// reached to where the entry moves it: "UP", "DOWN", "LEFT" and "RIGHT"
// (exact, case-sensitive) move one step; any other text gives a segment from
// a point to itself. The path starts in the middle of the client area and
// the step is a hundredth of its shorter side. Nothing is clipped: segments
// may leave the client area. A negative or NaN size counts as 0. Throws
// std::overflow_error when a coordinate would leave the signed 32-bit range,
// which only absurdly large sizes can cause.
std::vector<Segment> previewPath(float widthTwips, float heightTwips,
                                 const std::vector<std::string>& entries);

}  // namespace tavrel
