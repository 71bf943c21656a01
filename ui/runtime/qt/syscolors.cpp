#include "runtime/qt/syscolors.h"

#include <QApplication>
#include <QPalette>

namespace clearmark::runtime::qt {

QColor systemColor(SystemColor color) {
    const QPalette palette = QApplication::palette();
    switch (color) {
    case SystemColor::ButtonFace:
        return palette.color(QPalette::Active, QPalette::Button);
    case SystemColor::InactiveCaptionText:
        // The text of an inactive title bar: the palette's greyed-out text.
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    }
    return palette.color(QPalette::Button);
}

} // namespace clearmark::runtime::qt
