#include "info/SysInfoLauncher.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace clearmark {
namespace {

using platform::KeyHandle;

// Closes the key when the look-up is over, however it ends.
class OpenKey {
public:
    explicit OpenKey(platform::Registry& registry) : registry_(registry) {}
    ~OpenKey() { registry_.closeKey(handle); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    KeyHandle handle = 0;

private:
    platform::Registry& registry_;
};

// A number's bytes, least significant first, as the text the look-up hands on: its decimal
// digits while it fits a DWORD, else its hexadecimal digits behind "&h".
std::string numberText(const std::string& bytes) {
    if (bytes.size() <= 4) {
        std::uint32_t value = 0;
        for (std::size_t i = bytes.size(); i-- > 0;)
            value = (value << 8) | static_cast<unsigned char>(bytes[i]);
        return std::to_string(value);
    }
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "&h";
    for (std::size_t i = bytes.size(); i-- > 0;) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

} // namespace

bool SysInfoLauncher::GetKeyValue(platform::KeyRoot KeyRoot, const std::string& KeyName,
                                  const std::string& SubKeyRef, std::string& KeyVal) {
    OpenKey key(registry_);
    if (registry_.openKey(KeyRoot, KeyName, platform::kKeyRead, key.handle) !=
        platform::kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    std::array<unsigned char, kBufferSize> buffer{};
    std::uint32_t length = kBufferSize;
    std::uint32_t type = 0;
    if (registry_.queryValue(key.handle, SubKeyRef, type, buffer.data(), length) !=
        platform::kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    const std::size_t n = std::min<std::size_t>(length, kBufferSize);
    if (n == 0)
        throw platform::PlatformError("value " + SubKeyRef + " holds no data");
    // A terminating zero byte is cut, whatever the type.
    const std::size_t kept = buffer[n - 1] == 0 ? n - 1 : n;
    const std::string text(reinterpret_cast<const char*>(buffer.data()), kept);
    if (type == platform::kRegSz)
        KeyVal = text;
    else if (type == platform::kRegDword)
        KeyVal = numberText(text);
    return true;
}

bool SysInfoLauncher::tryStart() {
    try {
        std::string path;
        if (!GetKeyValue(platform::kHkeyLocalMachine, kToolKey, kToolValue, path)) {
            if (!GetKeyValue(platform::kHkeyLocalMachine, kFolderKey, kFolderValue, path))
                return false;
            if (files_.find(path + kProgramFile).empty())
                return false;
            path += kProgramFile;
        }
        starter_.start(path, platform::kShowNormal);
        return true;
    } catch (...) {
        // Whatever went wrong below, the user is told the same.
        return false;
    }
}

void SysInfoLauncher::StartSysInfo() {
    if (!tryStart())
        messages_.show(kUnavailable);
}

} // namespace clearmark
