// The designs' fonts on Win32: MS Sans Serif where the system draws it at the designed size
// and weight, else its scalable face.
#include "runtime/win32/win32.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>

namespace clearmark::runtime::win32 {
namespace {

// The em height and weight of what GDI selects for the font on this screen.
TEXTMETRICW selectedMetrics(HFONT font) {
    TEXTMETRICW metrics{};
    HDC screen = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(screen, font);
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    return metrics;
}

HFONT makeFont(int emPixels, bool bold, BYTE charset, BYTE precision, const wchar_t* face) {
    return CreateFontW(-emPixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, charset,
                       precision, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       face);
}

} // namespace

bool drawnAsDesigned(HFONT font, int emPixels, bool bold) {
    const TEXTMETRICW metrics = selectedMetrics(font);
    // Within a pixel: the system rounds a scalable face's em, and matches a bitmap face to
    // the strike nearest the designed size as it always has.
    return std::abs(metrics.tmHeight - metrics.tmInternalLeading - emPixels) <= 1 &&
           (metrics.tmWeight >= FW_SEMIBOLD) == bold;
}

int emPixels(const FontDesign& font) {
    return MulDiv(static_cast<int>(std::lround(font.points * 100)), screenDpi(), 7200);
}

HFONT designFont(const FontDesign& font) {
    static std::map<std::pair<int, bool>, HFONT> fonts;
    const int em = emPixels(font);
    HFONT& made = fonts[{em, font.bold}];
    if (made != nullptr)
        return made;
    // The bitmap "MS Sans Serif" has a few sizes only (the system makes the bold weight
    // from them); where it has no face of the designed size and weight, the scalable face of
    // the same design is drawn: "Microsoft Sans Serif", or what the system puts in its place.
    made = makeFont(em, font.bold, ANSI_CHARSET, OUT_DEFAULT_PRECIS, L"MS Sans Serif");
    if (drawnAsDesigned(made, em, font.bold))
        return made;
    HFONT scalable = makeFont(em, font.bold, DEFAULT_CHARSET, OUT_TT_PRECIS, kScalableFace);
    if (drawnAsDesigned(scalable, em, font.bold)) {
        DeleteObject(made);
        return made = scalable;
    }
    DeleteObject(scalable);
    return made; // the nearest the system has
}

} // namespace clearmark::runtime::win32
