#pragma once

#include <QIcon>

namespace clearmark::runtime {

// The application icon (32 x 32 and 16 x 16, 16 colours): every window's title-bar icon.
QIcon applicationIcon();
// The About window's picture, of the same sizes and colours, distinct from the icon.
QIcon aboutPicture();

} // namespace clearmark::runtime
