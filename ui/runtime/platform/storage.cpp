#include "runtime/platform/storage.h"

namespace clearmark::platform {
namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
constexpr char kSeparator = '\\';
#else
constexpr std::string_view kSeparators = "/";
constexpr char kSeparator = '/';
#endif

Storage*& installed() {
    static Storage* current = nullptr;
    return current;
}

} // namespace

Storage& storage() {
    if (installed() != nullptr)
        return *installed();
    static const std::unique_ptr<Storage> system = systemStorage();
    return *system;
}

Storage* setStorage(Storage* next) {
    Storage* previous = installed();
    installed() = next;
    return previous;
}

std::string fileNameOf(std::string_view path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string folderOf(std::string_view path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    if (separator == std::string_view::npos)
        return {};
    return std::string(path.substr(0, separator == 0 ? 1 : separator));
}

std::string pathIn(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && kSeparators.find(path.back()) == std::string_view::npos)
        path += kSeparator;
    return path + std::string(name);
}

} // namespace clearmark::platform
