// Reading and writing numbers: every accepted text gives a finite number equal to what the C
// library's correctly rounded conversion gives (in the "C" locale, the program's only one),
// and writing it then reading it back is stable. Every rejected text is outside the grammar
// or beyond the double range.
#include "core/measurement.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// The grammar, written out on its own: blanks, sign, digits with at most one decimal mark,
// a point or a comma (at least one digit), an optional exponent, blanks. The core it gives
// back has the mark as a point, for the C library.
bool inGrammar(std::string_view s, std::string& core) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    std::size_t end = s.size();
    while (end > i && (s[end - 1] == ' ' || s[end - 1] == '\t'))
        --end;
    core = std::string(s.substr(i, end - i));
    std::size_t j = 0;
    if (j < core.size() && (core[j] == '+' || core[j] == '-'))
        ++j;
    std::size_t digits = 0;
    while (j < core.size() && digit(core[j]))
        ++j, ++digits;
    if (j < core.size() && (core[j] == '.' || core[j] == ',')) {
        core[j] = '.';
        ++j;
        while (j < core.size() && digit(core[j]))
            ++j, ++digits;
    }
    if (digits == 0)
        return false;
    if (j < core.size() && (core[j] == 'e' || core[j] == 'E')) {
        ++j;
        if (j < core.size() && (core[j] == '+' || core[j] == '-'))
            ++j;
        if (j == core.size() || !digit(core[j]))
            return false;
        while (j < core.size() && digit(core[j]))
            ++j;
    }
    return j == core.size();
}

void fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s: [%.*s]\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = clearmark::parseMeasurement(text);
    std::string core;
    const bool grammatical = inGrammar(text, core);
    const double reference = grammatical ? std::strtod(core.c_str(), nullptr) : 0.0;

    if (!value) {
        if (grammatical && std::isfinite(reference))
            fail("a number in range was rejected", text);
        return 0;
    }
    if (!grammatical)
        fail("a text outside the grammar was accepted", text);
    if (!std::isfinite(*value))
        fail("a value that is not finite", text);
    if (*value != reference || std::signbit(*value) != std::signbit(reference))
        fail("not the correctly rounded value", text);

    const std::string written = clearmark::formatMeasurement(*value);
    const std::optional<double> reread = clearmark::parseMeasurement(written);
    if (!reread || clearmark::formatMeasurement(*reread) != written)
        fail("writing and reading back is not stable", text);
    return 0;
}
