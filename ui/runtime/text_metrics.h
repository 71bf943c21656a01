#pragma once

// The widths of the face printed pages are set in: Helvetica's, which Arial and Liberation Sans
// share glyph for glyph, so that a page can be laid out without a toolkit and drawn in any of
// them. A character the table does not know is taken as wide as the widest one, so a text
// measured here never turns out wider on paper.
#include <string>
#include <string_view>

namespace clearmark::runtime {

// The face's height above and below the baseline, as a share of the size.
inline constexpr double kFaceAscent = 0.905;
inline constexpr double kFaceDescent = 0.212;

// The width of a UTF-8 text at that size, in the size's unit.
double textWidth(std::string_view text, double size, bool bold = false);

// The text if it fits the width, else as much of it as fits followed by "…" (never a broken
// character); "" when not even that fits.
std::string fitText(std::string_view text, double size, bool bold, double width);

} // namespace clearmark::runtime
