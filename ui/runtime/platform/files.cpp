#include "runtime/platform/files.h"

#include <cctype>

namespace clearmark::platform {

bool isInvalidFileName(const std::string& path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*')
            return true;
        // A colon belongs only after a drive letter.
        if (c == ':' && !(i == 1 && std::isalpha(static_cast<unsigned char>(path[0]))))
            return true;
    }
    return false;
}

} // namespace clearmark::platform
