#pragma once

#include "runtime/design.h"

#include <QIcon>

namespace clearmark::runtime::qt {

// The application icon (every window's title-bar icon) and the About window's picture, each
// 32 x 32 and 16 x 16 in 16 colours.
QIcon icon(Icon which);

} // namespace clearmark::runtime::qt
