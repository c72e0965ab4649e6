#include "core/preview_geometry.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/direction.h"

namespace tavrel {

namespace {

constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

std::int32_t checked32(std::int64_t v) {
    if (v < kMin32 || v > kMax32) throw std::overflow_error("Overflow");
    return static_cast<std::int32_t>(v);
}

// The window system never reports such sizes; mapping them to an empty
// area keeps every later comparison and division well defined.
float sanitizeSize(float v) {
    return (std::isnan(v) || v < 0.0f) ? 0.0f : v;
}

}  // namespace

std::int32_t roundHalfEven(float value) {
    // 2^31 is exactly representable, and every float this large is already
    // an integer, so this bounds the truncation below to int64 comfortably.
    if (!(value >= -2147483648.0f && value < 2147483648.0f)) {
        throw std::overflow_error("Overflow");
    }
    // Truncation and the widened subtraction are both exact, so no step
    // below is at the mercy of the current rounding mode.
    const double d = value;
    std::int64_t whole = static_cast<std::int64_t>(d);
    const double frac = d - static_cast<double>(whole);
    const bool odd = (whole % 2) != 0;
    if (frac > 0.5 || (frac == 0.5 && odd)) {
        ++whole;
    } else if (frac < -0.5 || (frac == -0.5 && odd)) {
        --whole;
    }
    return checked32(whole);
}

std::vector<Segment> previewPath(float widthTwips, float heightTwips,
                                 const std::vector<std::string>& entries) {
    const float w = sanitizeSize(widthTwips);
    const float h = sanitizeSize(heightTwips);

    // The casts discard any excess precision, so the halves and the
    // quotient are rounded as the single-precision values they are.
    Point pen{roundHalfEven(static_cast<float>(w / 2.0f)),
              roundHalfEven(static_cast<float>(h / 2.0f))};
    const float shorter = h < w ? h : w;
    const std::int64_t step = roundHalfEven(static_cast<float>(shorter / 100.0f));

    std::vector<Segment> segments;
    segments.reserve(entries.size());
    Point previous = pen;
    for (const std::string& entry : entries) {
        if (const Direction* d = directionNamed(entry)) {
            pen.x = checked32(pen.x + d->dx * step);
            pen.y = checked32(pen.y + d->dy * step);
        }
        segments.push_back({previous, pen});
        previous = pen;
    }
    return segments;
}

}  // namespace tavrel
