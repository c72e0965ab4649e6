// Reading numbers out of the settings file's text lines, and turning them
// into the 16-bit integers the controls hold.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrel {

// The value of the longest numeric prefix of `line` once every blank, tab and
// line feed is removed: a signed decimal number with optional fraction and
// exponent, or "&H" hex digits, or "&O" octal digits. Anything else gives 0.
// Empty only when the number is too large for a double.
std::optional<double> numericValue(std::string_view line);

// Nearest integer, an exact half going to the even neighbour. Empty when the
// result does not fit in a signed 16-bit integer or the value is not finite.
std::optional<std::int16_t> roundToInteger(double value);

}  // namespace tavrel
