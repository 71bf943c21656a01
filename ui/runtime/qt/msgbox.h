#pragma once

#include <QString>

namespace clearmark::runtime::qt {

// The width a box on screen takes at least, so that its caption fits its title bar.
int msgBoxWidthForCaption(const QString& caption);

} // namespace clearmark::runtime::qt
