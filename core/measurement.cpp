#include "core/measurement.h"

#include "core/decimal_text.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
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
// Its decimal mark is the point or the comma read as one.
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
    const std::size_t point = std::min(mantissa.find_first_of(".,"), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    // Digits before the point from the first non-zero one, or minus the zeros after it.
    const long long magnitude = first < point ? static_cast<long long>(point - first)
                                              : -static_cast<long long>(first - point - 1);
    return magnitude + exponent > 0;
}

// The powers of ten that a plain decimal below needs, each of them a double exactly.
constexpr std::array<double, 19> powersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                                1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                                1e14, 1e15, 1e16, 1e17, 1e18};

// The division below rounds once, to a double, on every target of this program.
static_assert(FLT_EVAL_METHOD == 0);

// Reads the common measurement, digits with at most one point and no exponent ("0.175",
// "25.4"), in one pass without from_chars; false, and nothing read, for any other text. In at
// most 19 characters the digits make an integer without overflow, and at most 18 of them are
// after the point. When that integer is at most 2^53, it and the power of ten are doubles
// exactly, and their quotient, rounded once, is the nearest double: what from_chars gives.
bool readPlainDecimal(std::string_view text, double& value) {
    if (text.size() > 19)
        return false;
    std::uint64_t digits = 0;
    std::size_t at = 0;
    const auto readDigits = [&] {
        const std::size_t from = at;
        for (; at < text.size() && isDigit(text[at]); ++at)
            digits = digits * 10 + static_cast<std::uint64_t>(text[at] - '0');
        return at - from;
    };
    const std::size_t whole = readDigits();
    std::size_t decimals = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        decimals = readDigits();
    }
    if (at != text.size() || whole + decimals == 0 || digits > (std::uint64_t{1} << 53))
        return false;
    value = static_cast<double>(digits) / powersOfTen[decimals];
    return true;
}

// Room for a text with a comma to be read with the point in its place. A longer text is
// written short in it instead (writeShort), which takes at most 812 characters.
using Buffer = std::array<char, 1024>;

// Writes a text with its decimal point written as the comma at `comma`, too long for the
// buffer, as its significant digits and an exponent ("0,00250e1" as "25e-3"): a short text
// that from_chars reads to the same double, with the same error, as the long one with a
// point. Gives the length written, or 0 when the text is not a number of the decimal grammar.
std::size_t writeShort(std::string_view text, std::size_t comma, Buffer& out) {
    const std::string_view whole = text.substr(0, comma);
    std::size_t at = comma + 1;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    const std::string_view fraction = text.substr(comma + 1, at - comma - 1);
    if (!std::all_of(whole.begin(), whole.end(), isDigit) || whole.size() + fraction.size() == 0)
        return 0;

    // The exponent is read as from_chars reads it: it takes no more digits once the exponent
    // passes 2^28. That is far beyond any double, yet in a text of hundreds of millions of
    // digits it decides the value, and the short text must keep that value.
    long long exponent = 0;
    if (at < text.size()) {
        if (text[at] != 'e' && text[at] != 'E')
            return 0;
        ++at;
        const bool negative = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        if (at == text.size())
            return 0;
        for (; at < text.size(); ++at) {
            if (!isDigit(text[at]))
                return 0;
            if (exponent < (1LL << 28))
                exponent = exponent * 10 + (text[at] - '0');
        }
        exponent = negative ? -exponent : exponent;
    }

    // The digits before and after the point as one row, the first `whole.size()` before it.
    const std::size_t count = whole.size() + fraction.size();
    const auto digit = [&](std::size_t i) {
        return i < whole.size() ? whole[i] : fraction[i - whole.size()];
    };
    std::size_t first = 0;
    while (first < count && digit(first) == '0')
        ++first;
    if (first == count) {
        out[0] = '0';
        return 1;
    }
    std::size_t last = count - 1;
    while (digit(last) == '0')
        --last;

    // A double, and a point halfway between two (where the rounding turns), is written with at
    // most 768 significant digits. So beyond 800 digits only whether any further digit is
    // non-zero can change the double, and such a tail is kept as one digit 1.
    constexpr std::size_t keptDigits = 800;
    std::size_t length = 0;
    std::size_t end = first; // the digit of the row after the last one written
    for (; end <= last && length < keptDigits; ++end)
        out[length++] = digit(end);
    if (end <= last) {
        out[length++] = '1';
        ++end;
    }

    // The last digit written is the one of 10^(whole.size() - end) in the row, times
    // 10^exponent. With an exponent beyond 999999999 either way, every number reads alike as
    // zero or as beyond the double range, so the exponent is held within those 9 digits.
    const long long power =
        std::clamp(exponent + static_cast<long long>(whole.size()) - static_cast<long long>(end),
                   -999'999'999LL, 999'999'999LL);
    out[length++] = 'e';
    const auto written = std::to_chars(out.data() + length, out.data() + out.size(), power);
    return static_cast<std::size_t>(written.ptr - out.data());
}

// Reads a text with its decimal point written as the comma at `comma` into `value`, as
// from_chars reads it with a point there. Gives from_chars' error, or invalid_argument when
// the text is not a number as a whole.
std::errc readWithComma(std::string_view text, std::size_t comma, double& value) {
    // One decimal mark at most, and no thousands separator.
    if (text.find(',', comma + 1) != std::string_view::npos ||
        text.find('.') != std::string_view::npos)
        return std::errc::invalid_argument;
    // The text is copied into a buffer on the stack with the point in place of the comma; a
    // text too long for it is written short there instead.
    Buffer buffer;
    std::size_t length = text.size();
    if (length <= buffer.size()) {
        std::copy(text.begin(), text.end(), buffer.begin());
        buffer[comma] = '.';
    } else {
        length = writeShort(text, comma, buffer);
        if (length == 0)
            return std::errc::invalid_argument;
    }
    const char* last = buffer.data() + length;
    const auto [end, ec] = readDecimal(buffer.data(), last, value);
    return end == last ? ec : std::errc::invalid_argument;
}

// The rest of the reading for a text that from_chars did not read as a whole to a double
// (`read` and `value` are what it gave): a text with a decimal comma, a number beyond the
// double range, or no number. Kept out of line, as the common number needs none of it and
// the reader stays short.
[[gnu::noinline]] std::optional<double> readOther(std::string_view text, bool negative,
                                                  std::from_chars_result read, double value) {
    std::errc ec = read.ec;
    if (read.ptr != text.data() + text.size()) {
        // A comma is read as the decimal point, as the numeric keypad types it under many
        // keyboard layouts. from_chars reads none, so a text with one stops at or before it;
        // that text is read again with the point in its place.
        const std::size_t comma = text.find(',', static_cast<std::size_t>(read.ptr - text.data()));
        if (comma == std::string_view::npos)
            return std::nullopt;
        ec = readWithComma(text, comma, value);
    }
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
    double value = 0.0;
    if (!readPlainDecimal(text, value)) {
        // from_chars reads no sign of its own here, and beyond the decimal grammar it also
        // reads "inf" and "nan": a number goes on with a digit or a decimal mark.
        if (text.empty() || !(isDigit(text.front()) || text.front() == '.' || text.front() == ','))
            return std::nullopt;
        const char* last = text.data() + text.size();
        const std::from_chars_result read = readDecimal(text.data(), last, value);
        if (read.ptr != last || read.ec != std::errc{})
            return readOther(text, negative, read, value);
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
    const auto result = writeDecimal(buffer.data(), buffer.data() + buffer.size(), value, 15);
    return {buffer.data(), result.ptr};
}

} // namespace clearmark
