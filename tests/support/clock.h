// The performance counter. Every process on the machine reads the same one:
// the program's recorder and player, the receiving dialog's log times and
// the tests' own readings can be set against each other.
#pragma once

#include <cstdint>

namespace e2e {

// Seconds, exactly as the program's own clock reads them.
double seconds();

// Whole microseconds, with the receiving dialog's arithmetic, so a reading
// here and a time in its log subtract without rounding between them.
std::uint64_t microseconds();

}  // namespace e2e
