#pragma once

#include <QIcon>
#include <string_view>

namespace clearmark::runtime::qt {

// The registered picture (runtime/pictures.h) with each of its sizes; an empty icon for a
// name that was not registered. Kept for the process.
QIcon pictureIcon(std::string_view name);

} // namespace clearmark::runtime::qt
