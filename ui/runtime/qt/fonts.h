#pragma once

#include <QFont>
#include <QString>

namespace clearmark::runtime::qt {

inline constexpr const char* kDesignFontFamily = "MS Sans Serif";

// Makes the designs' font available: where the platform lacks "MS Sans Serif", Debian's
// fonts-wine recreation is registered with the application. That recreation holds bitmaps
// of the regular weight only; bold and large text is drawn in Liberation Sans (Debian's
// fonts-liberation2), or the default sans font where that is missing. Call once at start,
// after the application object exists; later calls do nothing.
void registerDesignFont();

// A font of the designs: MS Sans Serif at a point size of a 96 DPI screen, so that text
// scales with the twips geometry (8.25 pt is 11 pixels). Where MS Sans Serif exists only as
// bitmaps, a size or weight it cannot draw is taken from the fallback family.
QFont designFont(double points, bool bold = false);

// The family used for sizes and weights that MS Sans Serif cannot draw here.
QString fallbackFontFamily();

} // namespace clearmark::runtime::qt
