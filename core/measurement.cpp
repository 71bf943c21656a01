#include "core/measurement.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace clearmark {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number of the decimal grammar that from_chars found beyond the double range: whether it
// is too large (rather than too small) to be a double. Its value is 0.d1d2... x 10^m with a
// non-zero d1; it overflows when m > 0, as no double reaches 10^309 or stops above 10^-308.
bool overflows(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool negative = digits.front() == '-';
        if (digits.front() == '-' || digits.front() == '+')
            digits.remove_prefix(1);
        // Saturates far beyond any double's exponent.
        for (const char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        exponent = negative ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    // Digits before the point from the first non-zero one, or minus the zeros after it.
    const long long magnitude = first < point ? static_cast<long long>(point - first)
                                              : -static_cast<long long>(first - point - 1);
    return magnitude + exponent > 0;
}

} // namespace

std::optional<double> parseMeasurement(std::string_view text) {
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t';
    };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative || (!text.empty() && text.front() == '+'))
        text.remove_prefix(1);
    // A comma is read as the decimal point, as the numeric keypad types it under many
    // keyboard layouts; there is one decimal mark at most, and no thousands separator.
    std::string withPoint;
    if (const std::size_t comma = text.find(','); comma != std::string_view::npos) {
        if (text.find(',', comma + 1) != std::string_view::npos ||
            text.find('.') != std::string_view::npos)
            return std::nullopt;
        withPoint.assign(text);
        withPoint[comma] = '.';
        text = withPoint;
    }
    // from_chars reads no sign of its own here, and beyond the decimal grammar it also reads
    // "inf" and "nan": a number goes on with a digit or the point.
    if (text.empty() || !(isDigit(text.front()) || text.front() == '.'))
        return std::nullopt;
    const char* last = text.data() + text.size();
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), last, value, std::chars_format::general);
    if (end != last)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too large is no number; too small is the nearest double, a zero.
        if (overflows(text))
            return std::nullopt;
        value = 0.0;
    } else if (ec != std::errc{}) {
        return std::nullopt;
    }
    return negative ? -value : value;
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
