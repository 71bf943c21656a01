#include "measurement.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace clearmark {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The shape of an accepted number, found by one pass over the text.
struct NumberShape {
    bool valid = false;
    // Decimal exponent of the first non-zero mantissa digit, when the value is written as
    // 0.d1d2... x 10^magnitude; only meaningful when the mantissa has a non-zero digit.
    std::int64_t magnitude = 0;
    bool nonZero = false;
};

NumberShape scanNumber(std::string_view s) {
    NumberShape shape;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;

    std::int64_t intDigits = 0; // digits before the point, counted after leading zeros
    std::int64_t leadingFractionZeros = 0;
    std::size_t digits = 0;
    bool seenNonZero = false;
    while (i < s.size() && isDigit(s[i])) {
        if (s[i] != '0')
            seenNonZero = true;
        if (seenNonZero)
            ++intDigits;
        ++digits;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            if (!seenNonZero) {
                if (s[i] != '0')
                    seenNonZero = true;
                else
                    ++leadingFractionZeros;
            }
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return shape;

    std::int64_t exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            negative = s[i] == '-';
            ++i;
        }
        if (i == s.size() || !isDigit(s[i]))
            return shape;
        constexpr std::int64_t cap = 1'000'000'000; // far beyond any double exponent
        while (i < s.size() && isDigit(s[i])) {
            if (exponent < cap)
                exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (negative)
            exponent = -exponent;
    }
    if (i != s.size())
        return shape;

    shape.valid = true;
    shape.nonZero = seenNonZero;
    shape.magnitude = (intDigits > 0 ? intDigits : -leadingFractionZeros) + exponent;
    return shape;
}

} // namespace

std::optional<double> detail::readOutOfRange(std::string_view trimmed) {
    const NumberShape shape = scanNumber(trimmed);
    if (!shape.valid || (shape.nonZero && shape.magnitude > 0))
        return std::nullopt;
    return trimmed.front() == '-' ? -0.0 : 0.0;
}

std::string formatMeasurement(double value) {
    if (value == 0.0)
        return "0"; // also for a negative zero
    // Rounded to 15 digits, the largest doubles would be written as 1.79769313486232e+308,
    // beyond the double range, and could not be read back. At that edge the value is cut to
    // the largest 15-digit decimal below it instead.
    constexpr double largestWritable = 1.79769313486231e308;
    if (std::fabs(value) > largestWritable && std::isfinite(value))
        value = std::copysign(largestWritable, value);
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    return {buffer.data(), result.ptr};
}

} // namespace clearmark
