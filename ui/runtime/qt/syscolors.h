#pragma once

#include "runtime/design.h"

#include <QColor>

namespace clearmark::runtime::qt {

// The colour from the desktop's palette that stands for a Windows system colour.
QColor systemColor(SystemColor color);

} // namespace clearmark::runtime::qt
