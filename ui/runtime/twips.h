#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace clearmark::runtime {

// Window designs are measured in twips. One device-independent pixel is 15 twips (96 DPI
// logical); Qt scales device-independent pixels to the screen.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    // Rounds half away from zero, so that 5654 twips is 377 pixels.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QPoint twipsPoint(int x, int y) {
    return {twipsToPixels(x), twipsToPixels(y)};
}
inline QSize twipsSize(int width, int height) {
    return {twipsToPixels(width), twipsToPixels(height)};
}
inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsPoint(left, top), twipsSize(width, height)};
}

} // namespace clearmark::runtime
