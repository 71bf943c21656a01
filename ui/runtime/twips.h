#pragma once

namespace clearmark::runtime {

// Window designs are measured in twips. At 96 DPI one pixel is 15 twips; a screen of
// another density has 1440 / DPI twips to the pixel.
inline constexpr int kTwipsPerPixel = 15;

// Rounds half away from zero, so that 5654 twips is 377 pixels at 96 DPI.
constexpr int twipsToPixels(int twips, int dpi = 96) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

} // namespace clearmark::runtime
