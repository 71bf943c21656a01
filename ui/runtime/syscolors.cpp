#include "syscolors.h"

#include <QApplication>
#include <QPalette>

namespace clearmark::runtime {

QColor systemColor(SystemColor color) {
    const QPalette palette = QApplication::palette();
    switch (color) {
    case SystemColor::ButtonFace:
        return palette.color(QPalette::Active, QPalette::Button);
    case SystemColor::InactiveCaptionText:
        // The text of an inactive title bar: the palette's dimmed window text.
        return palette.color(QPalette::Inactive, QPalette::PlaceholderText);
    }
    return palette.color(QPalette::Button);
}

} // namespace clearmark::runtime
