#pragma once

#include <string_view>

namespace clearmark::runtime {

// Makes the text (UTF-8) the system clipboard's plain-text content; false when the clipboard
// could not be had (another program holding it) and nothing was copied.
[[nodiscard]] bool setClipboardText(std::string_view text);

} // namespace clearmark::runtime
