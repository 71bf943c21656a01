#pragma once

#include <QString>

namespace clearmark::runtime {

// Makes the text the system clipboard's plain-text content.
void setClipboardText(const QString& text);

} // namespace clearmark::runtime
