#include "syscolors.h"

#include <QApplication>
#include <QPalette>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace clearmark::runtime {

QColor systemColor(SystemColor color) {
#ifdef Q_OS_WIN
    // The real system colour, by its Windows index.
    const DWORD rgb = GetSysColor(static_cast<int>(color));
    return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
#else
    const QPalette palette = QApplication::palette();
    switch (color) {
    case SystemColor::ButtonFace:
        return palette.color(QPalette::Active, QPalette::Button);
    case SystemColor::InactiveCaptionText:
        // The text of an inactive title bar: the palette's greyed-out text.
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    }
    return palette.color(QPalette::Button);
#endif
}

} // namespace clearmark::runtime
