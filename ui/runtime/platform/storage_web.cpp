// The browser's storage. The program's own data (the shim box) lives in the page's local
// storage, under the folder name below, which every tab of the page shares and reads afresh at
// each use; the user's job files are the ones the page's file dialog was given (dom.js).
#include "runtime/platform/storage.h"

#include <emscripten.h>

#include <cstdlib>
#include <ctime>

// clang-format off
EM_JS(char*, cm_js_localRead, (const char* key), {
    var value = null;
    try { value = localStorage.getItem(UTF8ToString(key)); } catch (e) { value = null; }
    return value === null ? 0 : CM.stringFor(value);
});
EM_JS(char*, cm_js_localWrite, (const char* key, const char* value), {
    try {
        localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
        return 0;
    } catch (e) {
        return CM.stringFor(e && e.name === 'QuotaExceededError'
                                ? 'the browser keeps no more for this page'
                                : 'the browser keeps nothing for this page');
    }
});
EM_JS(void, cm_js_localRemove, (const char* key), {
    try { localStorage.removeItem(UTF8ToString(key)); } catch (e) {}
});
EM_JS(char*, cm_js_fileRead, (const char* path), {
    var text = CM.readFile(UTF8ToString(path));
    return text === null ? 0 : CM.stringFor(text);
});
EM_JS(char*, cm_js_fileWrite, (const char* path, const char* text), {
    var failure = CM.writeFile(UTF8ToString(path), UTF8ToString(text));
    return failure ? CM.stringFor(failure) : 0;
});
EM_JS(void, cm_js_askPersistent, (), {
    if (navigator.storage && navigator.storage.persist) navigator.storage.persist();
});
// clang-format on

namespace clearmark::platform {
namespace {

// The folder the program's own data is kept in, as the program names it.
constexpr const char* kBrowserFolder = "/browser-storage/clearmark";

std::optional<std::string> take(char* text) {
    if (text == nullptr)
        return std::nullopt;
    std::string copy = text;
    std::free(text);
    return copy;
}

bool inBrowserFolder(const std::string& path) {
    const std::string folder = std::string(kBrowserFolder) + "/";
    return path.compare(0, folder.size(), folder) == 0;
}

std::string keyOf(const std::string& path) {
    return "clearmark:" + fileNameOf(path);
}

class BrowserStorage final : public Storage {
public:
    BrowserStorage() { cm_js_askPersistent(); }

    std::variant<std::string, FileFailure> read(const std::string& path,
                                                std::size_t limit) override {
        auto text = inBrowserFolder(path) ? take(cm_js_localRead(keyOf(path).c_str()))
                                          : take(cm_js_fileRead(path.c_str()));
        if (!text)
            return FileFailure{"No such file or directory"};
        if (text->size() > limit + 1)
            text->resize(limit + 1);
        return *text;
    }
    std::optional<FileFailure> write(const std::string& path, std::string_view bytes) override {
        const std::string text(bytes);
        const auto failure = inBrowserFolder(path)
                                 ? take(cm_js_localWrite(keyOf(path).c_str(), text.c_str()))
                                 : take(cm_js_fileWrite(path.c_str(), text.c_str()));
        if (failure)
            return FileFailure{*failure};
        return std::nullopt;
    }
    std::optional<FileFailure> moveAside(const std::string& from, const std::string& to) override {
        if (!inBrowserFolder(from) || !inBrowserFolder(to))
            return FileFailure{"Operation not permitted"};
        if (exists(to))
            return FileFailure{"File exists"};
        const auto text = take(cm_js_localRead(keyOf(from).c_str()));
        if (!text)
            return FileFailure{"No such file or directory"};
        if (const auto failure = take(cm_js_localWrite(keyOf(to).c_str(), text->c_str())))
            return FileFailure{*failure};
        cm_js_localRemove(keyOf(from).c_str());
        return std::nullopt;
    }
    bool exists(const std::string& path) override {
        return inBrowserFolder(path) ? take(cm_js_localRead(keyOf(path).c_str())).has_value()
                                     : take(cm_js_fileRead(path.c_str())).has_value();
    }
    std::variant<std::string, FileFailure> dataFolder() override {
        return std::string(kBrowserFolder);
    }
    std::string today() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char text[16];
        std::strftime(text, sizeof text, "%Y-%m-%d", &local);
        return text;
    }
};

} // namespace

std::unique_ptr<Storage> systemStorage() {
    return std::make_unique<BrowserStorage>();
}

} // namespace clearmark::platform
