#include "runtime/implementation.h"

#include "runtime/win32/win32.h"

#include <cstring>

namespace clearmark::runtime {
namespace {

// Another program may hold the clipboard open for a moment: a few tries over a short while.
constexpr int kTries = 10;
constexpr DWORD kPauseMs = 25;

bool openClipboard() {
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (OpenClipboard(win32::hiddenOwner()))
            return true;
        Sleep(kPauseMs);
    }
    return false;
}

bool copyToClipboard(std::string_view text) {
    const std::wstring wide = win32::widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        return false;
    void* at = GlobalLock(memory);
    if (at == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(at, wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (!openClipboard()) {
        GlobalFree(memory);
        return false;
    }
    // Once the clipboard has the memory, it is the clipboard's.
    const bool copied = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!copied)            // the clipboard did not take it
        GlobalFree(memory); // cppcheck-suppress doubleFree
    CloseClipboard();
    return copied;
}

} // namespace

void setSystemClipboardText(std::string_view text, const std::function<void(bool copied)>& done) {
    done(copyToClipboard(text));
}

} // namespace clearmark::runtime
