#pragma once

#include <QColor>

namespace clearmark::runtime {

// The system colours the designs name, by their Windows index.
enum class SystemColor {
    ButtonFace = 15,
    InactiveCaptionText = 19,
};

// The colour from the platform's palette that stands for a Windows system colour.
QColor systemColor(SystemColor color);

} // namespace clearmark::runtime
