#include "core/number_reading.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

namespace tavrel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string withoutBlanks(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\n') out.push_back(c);
    }
    return out;
}

std::size_t digitRun(const std::string& s, std::size_t pos, bool (*accept)(char)) {
    std::size_t end = pos;
    while (end < s.size() && accept(s[end])) ++end;
    return end;
}

// from_chars reports underflow and overflow alike as out of range, so the
// caller needs this to tell a vanishing value (0) from an overflow (failure).
// Saturating keeps absurd exponent runs from wrapping.
long long decimalMagnitude(std::string_view intDigits, std::string_view fracDigits,
                           bool expNegative, std::string_view expDigits) {
    constexpr long long kCap = 1'000'000'000;
    long long exponent = 0;
    for (char c : expDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > kCap) {
            exponent = kCap;
            break;
        }
    }
    if (expNegative) exponent = -exponent;

    std::size_t firstNonZero = intDigits.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos) {
        auto significant = static_cast<long long>(intDigits.size() - firstNonZero);
        return exponent + (significant > kCap ? kCap : significant);
    }
    std::size_t leadingZeros = fracDigits.find_first_not_of('0');
    if (leadingZeros == std::string_view::npos) return -kCap;  // the value is zero
    auto zeros = static_cast<long long>(leadingZeros);
    return exponent - (zeros > kCap ? kCap : zeros);
}

std::optional<double> fromHexDigits(std::string_view digits) {
    if (digits.empty()) return 0.0;
    double value = 0.0;
    // Read as a hexadecimal floating constant with no point and no exponent:
    // exact up to the precision of a double and rounded correctly beyond it.
    auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                  std::chars_format::hex);
    if (result.ec == std::errc::result_out_of_range) return std::nullopt;
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// Octal digits regrouped as hex digits, three bits each, so both radixes
// share one correctly rounded conversion.
std::string octalAsHex(std::string_view octal) {
    std::string bits;
    bits.reserve(octal.size() * 3 + 3);
    for (char c : octal) {
        int d = c - '0';
        bits.push_back((d & 4) ? '1' : '0');
        bits.push_back((d & 2) ? '1' : '0');
        bits.push_back((d & 1) ? '1' : '0');
    }
    while (bits.size() % 4 != 0) bits.insert(bits.begin(), '0');
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bits.size() / 4);
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        int nibble = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 +
                     (bits[i + 3] - '0');
        hex.push_back(kHex[nibble]);
    }
    return hex;
}

std::optional<double> radixValue(const std::string& s) {
    char kind = s[1];
    if (kind == 'H' || kind == 'h') {
        std::size_t end = digitRun(s, 2, isHexDigit);
        return fromHexDigits(std::string_view(s).substr(2, end - 2));
    }
    std::size_t end = digitRun(s, 2, isOctalDigit);
    return fromHexDigits(octalAsHex(std::string_view(s).substr(2, end - 2)));
}

std::optional<double> decimalValue(const std::string& s) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    std::size_t intEnd = digitRun(s, pos, isDigit);
    std::string_view intDigits = std::string_view(s).substr(pos, intEnd - pos);
    std::string_view fracDigits;
    pos = intEnd;
    if (pos < s.size() && s[pos] == '.') {
        std::size_t fracEnd = digitRun(s, pos + 1, isDigit);
        fracDigits = std::string_view(s).substr(pos + 1, fracEnd - pos - 1);
        pos = fracEnd;
    }
    if (intDigits.empty() && fracDigits.empty()) return 0.0;

    bool expNegative = false;
    std::string_view expDigits;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
        std::size_t expPos = pos + 1;
        bool sign = expPos < s.size() && (s[expPos] == '+' || s[expPos] == '-');
        if (sign) expNegative = s[expPos] == '-';
        std::size_t digitsStart = expPos + (sign ? 1 : 0);
        std::size_t expEnd = digitRun(s, digitsStart, isDigit);
        // An E with no digits after it belongs to the junk, not the number.
        if (expEnd > digitsStart) {
            expDigits = std::string_view(s).substr(digitsStart, expEnd - digitsStart);
        } else {
            expNegative = false;
        }
    }

    // Rebuilt in the one spelling every from_chars accepts: no '+', a digit
    // before the point.
    std::string text;
    text.reserve(intDigits.size() + fracDigits.size() + expDigits.size() + 4);
    if (intDigits.empty()) {
        text.push_back('0');
    } else {
        text.append(intDigits);
    }
    if (!fracDigits.empty()) {
        text.push_back('.');
        text.append(fracDigits);
    }
    if (!expDigits.empty()) {
        text.push_back('e');
        if (expNegative) text.push_back('-');
        text.append(expDigits);
    }

    double value = 0.0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value,
                                  std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        if (decimalMagnitude(intDigits, fracDigits, expNegative, expDigits) > 0) {
            return std::nullopt;
        }
        value = 0.0;
    } else if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<double> numericValue(std::string_view line) {
    std::string s = withoutBlanks(line);
    if (s.size() >= 2 && s[0] == '&') {
        char kind = s[1];
        if (kind == 'H' || kind == 'h' || kind == 'O' || kind == 'o') return radixValue(s);
        return 0.0;
    }
    return decimalValue(s);
}

std::optional<std::int16_t> roundToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // None of these fit; turning them away first keeps the arithmetic below
    // on small values where every step is exact.
    if (value < -65536.0 || value > 65536.0) return std::nullopt;
    // floor and this subtraction are exact for values this small, so the
    // result cannot depend on the rounding mode in effect.
    double below = std::floor(value);
    double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5) {
        rounded = below + 1.0;
    } else if (fraction == 0.5) {
        bool belowIsEven = std::fmod(below, 2.0) == 0.0;
        rounded = belowIsEven ? below : below + 1.0;
    }
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(static_cast<int>(rounded));
}

}  // namespace tavrel
