#pragma once

#include <string_view>

namespace clearmark::runtime {

// Makes the text (UTF-8) the system clipboard's plain-text content.
void setClipboardText(std::string_view text);

} // namespace clearmark::runtime
