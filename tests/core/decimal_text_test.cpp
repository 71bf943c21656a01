// The own decimal reading and writing, held against the standard library's from_chars and
// to_chars where it has them: the same end, the same error and the same double, bit for bit.
#include "core/decimal_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace clearmark {
namespace {

#if defined(__cpp_lib_to_chars)

// clang-format off
const char* const kTexts[] = {
    "0", "-0", "1", "25.4", "0.001", ".5", "5.", ".", "-", "-.", "", "+1", " 1", "1 ",
    "1e3", "1E-3", "1e", "1e+", "1e-", "1e+x", "2.5e3x", "1.2.3", "12,5", "0x1p3", "0X10",
    "inf", "-INF", "infinity", "InFiNiTy", "infin", "nan", "-nan", "NaN(123abc)", "nan(",
    "nan()", "nan(x y)", "in", "na", "e5", "1e400", "-1e400", "1e-400", "0e999999",
    "4.9e-324", "2.4e-324", "2.5e-324", "2.2250738585072011e-308", "1.7976931348623157e308",
    "1.7976931348623159e308", "179769313486231580793728971405301e276",
    "0.000000000000000000000000000000000000000000000000000000000000001",
    "123456789012345678901234567890", "9007199254740993", "1.00000000000000011102230246251565",
    "00000000000000000000000000000000000000000000000000001", "0.0", "000", "-0e-999999"};
// clang-format on

TEST(DecimalText, ReadsAsFromChars) {
    for (const char* text : kTexts) {
        SCOPED_TRACE(text);
        const char* last = text + std::strlen(text);
        double expected = 7.0;
        double actual = 7.0;
        const auto want = std::from_chars(text, last, expected, std::chars_format::general);
        const auto got = decimal_text::read(text, last, actual);
        EXPECT_EQ(got.ptr - text, want.ptr - text);
        EXPECT_EQ(got.ec, want.ec);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(actual));
        else
            EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
                << actual << " " << expected;
    }
}

TEST(DecimalText, WritesAsToChars) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             25.4,
                             0.1,
                             1e-7,
                             123456789012345.0,
                             1e15,
                             1e16,
                             -2.5e-310,
                             1e300,
                             0.5,
                             1.0 / 3.0,
                             2.0 / 3,
                             1e21,
                             12345678.9,
                             -0.000125,
                             1.79769313486231e308};
    for (const double value : values)
        for (const int precision : {1, 6, 15, 17}) {
            char want[64];
            char got[64];
            const auto w = std::to_chars(want, want + sizeof want, value,
                                         std::chars_format::general, precision);
            const auto g = decimal_text::write(got, got + sizeof got, value, precision);
            EXPECT_EQ(std::string(got, g.ptr), std::string(want, w.ptr)) << precision;
        }
    char tiny[3]; // "25.4" needs four
    EXPECT_EQ(decimal_text::write(tiny, tiny + sizeof tiny, 25.4, 15).ec,
              std::errc::value_too_large);
}

#endif

} // namespace
} // namespace clearmark
