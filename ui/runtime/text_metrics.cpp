#include "runtime/text_metrics.h"

#include <array>
#include <cstdint>

namespace clearmark::runtime {
namespace {

// Advance widths in thousandths of the size, for the characters from the space to the tilde.
// clang-format off
constexpr std::array<std::uint16_t, 95> kRegular = {
    278,  278,  355,  556,  556,  889,  667,  191,  333,  333,  389,  584,  278,  333,  278,  278, //  !"#$%&'()*+,-./
    556,  556,  556,  556,  556,  556,  556,  556,  556,  556,  278,  278,  584,  584,  584,  556, // 0123456789:;<=>?
   1015,  667,  667,  722,  722,  667,  611,  778,  722,  278,  500,  667,  556,  833,  722,  778, // @ABCDEFGHIJKLMNO
    667,  778,  722,  667,  611,  722,  667,  944,  667,  667,  611,  278,  278,  278,  469,  556, // PQRSTUVWXYZ[\]^_
    333,  556,  556,  500,  556,  556,  278,  556,  556,  222,  222,  500,  222,  833,  556,  556, // `abcdefghijklmno
    556,  556,  333,  500,  278,  556,  500,  722,  500,  500,  500,  334,  260,  334,  584,       // pqrstuvwxyz{|}~
};
constexpr std::array<std::uint16_t, 95> kBold = {
    278,  333,  474,  556,  556,  889,  722,  238,  333,  333,  389,  584,  278,  333,  278,  278, //  !"#$%&'()*+,-./
    556,  556,  556,  556,  556,  556,  556,  556,  556,  556,  333,  333,  584,  584,  584,  611, // 0123456789:;<=>?
    975,  722,  722,  722,  722,  667,  611,  778,  722,  278,  556,  722,  611,  833,  722,  778, // @ABCDEFGHIJKLMNO
    667,  778,  722,  667,  611,  722,  667,  944,  667,  667,  611,  333,  278,  333,  584,  556, // PQRSTUVWXYZ[\]^_
    333,  556,  611,  556,  611,  556,  333,  611,  611,  278,  278,  556,  278,  889,  611,  611, // `abcdefghijklmno
    611,  611,  389,  556,  333,  611,  556,  778,  556,  556,  500,  389,  280,  389,  584,       // pqrstuvwxyz{|}~
};
// clang-format on

struct Extra {
    char32_t code;
    std::uint16_t regular;
    std::uint16_t bold;
};
constexpr Extra kExtras[] = {
    {U'\u00A0', 278, 278},   // no-break space
    {U'\u00B0', 400, 400},   // °
    {U'\u00D7', 584, 584},   // ×
    {U'\u2013', 556, 556},   // –
    {U'\u2014', 1000, 1000}, // —
    {U'\u2026', 1000, 1000}, // …
};
constexpr std::uint16_t kWidest = 1015;

// The next character of UTF-8 text, and how many bytes it takes; a byte that does not start a
// well-formed character stands for itself (and is measured as the widest).
std::pair<char32_t, std::size_t> nextCharacter(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80         ? 1
                               : lead >> 5 == 0x6  ? 2
                               : lead >> 4 == 0xE  ? 3
                               : lead >> 3 == 0x1E ? 4
                                                   : 0;
    if (length == 0 || at + length > text.size())
        return {U'\uFFFD', 1};
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (next >> 6 != 0x2)
            return {U'\uFFFD', 1};
        code = code << 6 | (next & 0x3F);
    }
    return {code, length};
}

std::uint16_t widthOf(char32_t code, bool bold) {
    if (code >= 0x20 && code <= 0x7E)
        return (bold ? kBold : kRegular)[code - 0x20];
    for (const Extra& extra : kExtras)
        if (extra.code == code)
            return bold ? extra.bold : extra.regular;
    return kWidest;
}

} // namespace

double textWidth(std::string_view text, double size, bool bold) {
    long thousandths = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto [code, length] = nextCharacter(text, at);
        thousandths += widthOf(code, bold);
        at += length;
    }
    return static_cast<double>(thousandths) * size / 1000.0;
}

std::string fitText(std::string_view text, double size, bool bold, double width) {
    if (textWidth(text, size, bold) <= width)
        return std::string(text);
    const std::string_view ellipsis = "\u2026";
    double used = textWidth(ellipsis, size, bold);
    if (used > width)
        return {};
    std::size_t end = 0;
    while (end < text.size()) {
        const auto [code, length] = nextCharacter(text, end);
        const double next = static_cast<double>(widthOf(code, bold)) * size / 1000.0;
        if (used + next > width)
            break;
        used += next;
        end += length;
    }
    // No blank just before the ellipsis.
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return std::string(text.substr(0, end)) + std::string(ellipsis);
}

} // namespace clearmark::runtime
