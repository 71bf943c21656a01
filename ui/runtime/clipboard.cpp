#include "runtime/clipboard.h"

#include "runtime/implementation.h"

namespace clearmark::runtime {

bool setClipboardText(std::string_view text) {
    return setSystemClipboardText(text);
}

} // namespace clearmark::runtime
