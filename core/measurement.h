#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace clearmark {

// Reads one decimal number from the whole text: optional blanks (spaces, tabs) around an
// optional sign, digits with at most one decimal point and an optional exponent. The result
// is the double nearest to the decimal value. Anything else, and a magnitude beyond the
// double range, gives no number. The "." is the only decimal separator, whatever the locale.
inline std::optional<double> parseMeasurement(std::string_view text);

// Writes a number with at most 15 significant digits, without trailing fraction zeros, with
// "0." before fractions and "0" for zero of either sign. Magnitudes below 1e-4 and from 1e15
// up are written in exponent form ("1e+15", "7.87401574803150e-05" without its zeros).
std::string formatMeasurement(double value);

namespace detail {
// A number that from_chars found out of range: no number when it overflows, the nearest
// double (a zero) when it underflows.
std::optional<double> readOutOfRange(std::string_view trimmed);
} // namespace detail

// Kept inline: reading is a thin layer over from_chars, called for every text box.
inline std::optional<double> parseMeasurement(std::string_view text) {
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t';
    };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    const bool negative = text.front() == '-';
    const std::size_t mantissa = (negative || text.front() == '+') ? 1 : 0;
    // from_chars reads no leading '+', and beyond the decimal grammar it also reads "inf",
    // "nan" and a second '-': a number must go on with a digit or the point.
    if (mantissa == text.size())
        return std::nullopt;
    const char next = text[mantissa];
    if (!((next >= '0' && next <= '9') || next == '.'))
        return std::nullopt;
    const char* last = text.data() + text.size();
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(text.data() + mantissa, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        return detail::readOutOfRange(text);
    if (ec != std::errc{} || end != last)
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace clearmark
