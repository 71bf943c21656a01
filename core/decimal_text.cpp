#include "core/decimal_text.h"

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace clearmark {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether [p, last) starts with the word, in any case.
bool startsWithWord(const char* p, const char* last, const char* word) {
    const std::size_t n = std::strlen(word);
    if (static_cast<std::size_t>(last - p) < n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (lower(p[i]) != word[i])
            return false;
    return true;
}

// The end of "inf", "infinity", "nan" or "nan(chars)" at p, or p when none is there.
const char* endOfSpecial(const char* p, const char* last) {
    if (startsWithWord(p, last, "infinity"))
        return p + 8;
    if (startsWithWord(p, last, "inf"))
        return p + 3;
    if (!startsWithWord(p, last, "nan"))
        return p;
    const char* end = p + 3;
    if (end < last && *end == '(') {
        const char* q = end + 1;
        while (q < last && (isDigit(*q) || (lower(*q) >= 'a' && lower(*q) <= 'z') || *q == '_'))
            ++q;
        if (q < last && *q == ')')
            return q + 1;
    }
    return end;
}

} // namespace

namespace decimal_text {

std::from_chars_result read(const char* first, const char* last, double& value) {
    // The pattern from_chars takes: a minus sign at most (no plus, no blank), then digits with
    // at most one point and at least one digit, then an exponent where one is whole; or an
    // infinity or a NaN. Nothing else, not even the C library's hexadecimal numbers.
    const char* p = first;
    if (p < last && *p == '-')
        ++p;
    if (const char* special = endOfSpecial(p, last); special != p) {
        const std::string text(first, special);
        value = std::strtod(text.c_str(), nullptr);
        return {special, std::errc{}};
    }
    bool nonZero = false;
    std::size_t digits = 0;
    for (; p < last && isDigit(*p); ++p, ++digits)
        nonZero = nonZero || *p != '0';
    if (p < last && *p == '.')
        for (++p; p < last && isDigit(*p); ++p, ++digits)
            nonZero = nonZero || *p != '0';
    if (digits == 0)
        return {first, std::errc::invalid_argument};
    if (p < last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < last && (*q == '+' || *q == '-'))
            ++q;
        if (q < last && isDigit(*q)) {
            while (q < last && isDigit(*q))
                ++q;
            p = q;
        }
    }
    // strtod reads the pattern to the same double, correctly rounded; the copy ends it.
    const std::string text(first, p);
    const double read = std::strtod(text.c_str(), nullptr);
    if (std::isinf(read) || (read == 0.0 && nonZero))
        return {p, std::errc::result_out_of_range};
    value = read;
    return {p, std::errc{}};
}

std::to_chars_result write(char* first, char* last, double value, int precision) {
    // to_chars' general format with a precision is printf's %.*g in the C locale.
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    if (length < 0 || length >= static_cast<int>(sizeof buffer) || length > last - first)
        return {last, std::errc::value_too_large};
    std::memcpy(first, buffer, static_cast<std::size_t>(length));
    return {first + length, std::errc{}};
}

} // namespace decimal_text

#if defined(__cpp_lib_to_chars)
std::from_chars_result readDecimal(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::general);
}
std::to_chars_result writeDecimal(char* first, char* last, double value, int precision) {
    return std::to_chars(first, last, value, std::chars_format::general, precision);
}
#else
std::from_chars_result readDecimal(const char* first, const char* last, double& value) {
    return decimal_text::read(first, last, value);
}
std::to_chars_result writeDecimal(char* first, char* last, double value, int precision) {
    return decimal_text::write(first, last, value, precision);
}
#endif

} // namespace clearmark
