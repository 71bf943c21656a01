#pragma once

#include <functional>
#include <string_view>

namespace clearmark::runtime {

// Makes the text (UTF-8) the system clipboard's plain-text content, then runs `then` as a
// handler of its own: copied is false when the clipboard could not be had (another program
// holding it, the user refusing) and nothing was copied. The desktops answer before this
// returns; a browser may answer later.
void setClipboardText(std::string_view text, std::function<void(bool copied)> then);

} // namespace clearmark::runtime
