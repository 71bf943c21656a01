#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace clearmark {

// Reads one decimal number from the whole text: optional blanks (spaces, tabs) around an
// optional sign, digits with at most one decimal point and an optional exponent. The result
// is the double nearest to the decimal value. Anything else, and a magnitude beyond the
// double range, gives no number. The decimal mark is the point, or the comma in its place,
// whatever the locale.
std::optional<double> parseMeasurement(std::string_view text);

// Writes a number with at most 15 significant digits, without trailing fraction zeros, with
// "0." before fractions and "0" for zero of either sign. Magnitudes below 1e-4 and from 1e15
// up are written in exponent form ("1e+15", "7.87401574803150e-05" without its zeros).
std::string formatMeasurement(double value);

} // namespace clearmark
