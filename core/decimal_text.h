#pragma once

// A double read from and written to decimal text exactly as std::from_chars and std::to_chars
// do it in their general format, also where the standard library lacks them for floating
// point (libc++ 13, which the WebAssembly build uses). Where the library has them, these
// forward to it; the own reading and writing are always built, so that the tests hold them
// against the library's on the desktops.
#include <charconv>
#include <system_error>

namespace clearmark {

// std::from_chars(first, last, value, std::chars_format::general).
std::from_chars_result readDecimal(const char* first, const char* last, double& value);
// std::to_chars(first, last, value, std::chars_format::general, precision).
std::to_chars_result writeDecimal(char* first, char* last, double value, int precision);

namespace decimal_text {
// The own reading and writing, on the C library's strtod and snprintf.
std::from_chars_result read(const char* first, const char* last, double& value);
std::to_chars_result write(char* first, char* last, double value, int precision);
} // namespace decimal_text

} // namespace clearmark
