#include "runtime/clipboard.h"

#include "runtime/forms.h"
#include "runtime/implementation.h"

#include <utility>

namespace clearmark::runtime {

void setClipboardText(std::string_view text, std::function<void(bool copied)> then) {
    setSystemClipboardText(text, [then = std::move(then)](bool copied) {
        if (then)
            dispatch([&then, copied] { then(copied); });
    });
}

} // namespace clearmark::runtime
