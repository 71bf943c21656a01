#include "runtime/clipboard.h"

#include "runtime/win32/win32.h"

#include <cstring>

namespace clearmark::runtime {

void setClipboardText(std::string_view text) {
    const std::wstring wide = win32::widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        return;
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(win32::hiddenOwner())) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
        GlobalFree(memory);
    CloseClipboard();
}

} // namespace clearmark::runtime
