#include "runtime/filedialog.h"

#include "runtime/forms.h"
#include "runtime/implementation.h"
#include "runtime/msgbox.h"

#include <utility>

namespace clearmark::runtime {
namespace {

FileDialogPresenter& presenter() {
    static FileDialogPresenter current;
    return current;
}

// A saved name gets the extension when the user left it off.
std::optional<std::string> withExtension(const FileDialogRequest& request,
                                         std::optional<std::string> path) {
    if (!path || request.kind != FileDialogKind::Save || request.extension.empty())
        return path;
    const std::string ending = "." + request.extension;
    const std::size_t separator = path->find_last_of("\\/");
    const std::string name = separator == std::string::npos ? *path : path->substr(separator + 1);
    if (name.size() < ending.size() ||
        name.compare(name.size() - ending.size(), ending.size(), ending) != 0)
        *path += ending;
    return path;
}

} // namespace

FileDialogPresenter setFileDialogPresenter(FileDialogPresenter next) {
    return std::exchange(presenter(), std::move(next));
}

void askFileName(const FileDialogRequest& request, FileThen then) {
    beginModal();
    auto answered = [request, then = std::move(then)](std::optional<std::string> path) {
        endModal();
        if (then)
            dispatch([&then, chosen = withExtension(request, std::move(path))] { then(chosen); });
    };
    if (presenter())
        answered(presenter()(request));
    else
        showFileDialogOnScreen(request, std::move(answered));
}

} // namespace clearmark::runtime
