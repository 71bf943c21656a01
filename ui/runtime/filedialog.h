#pragma once

// The platform's dialogs for choosing a file to open or a name to save under.
#include <functional>
#include <optional>
#include <string>

namespace clearmark::runtime {

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;      // "Open Job"
    std::string filterName; // "Clearmark jobs"
    std::string
        extension; // "clearmark": the filter's pattern, and added to a saved name without it
    std::string suggestedName; // a save's proposed file name, or a full path to start from
    friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

// What runs once the dialog has closed: the chosen path (UTF-8), or none when cancelled.
using FileThen = std::function<void(std::optional<std::string> path)>;

// Puts the dialog before the user, modal for the whole program like a box (msgBoxOpen() is
// true while it is open), and runs `then` with the answer as a handler of its own. Saving
// under a name that exists asks, in the dialog, whether to replace it; a saved name without
// the extension gets it.
void askFileName(const FileDialogRequest& request, FileThen then);

// The seam for tests, as for boxes: while installed it answers every dialog at once.
using FileDialogPresenter = std::function<std::optional<std::string>(const FileDialogRequest&)>;
FileDialogPresenter setFileDialogPresenter(FileDialogPresenter next);

} // namespace clearmark::runtime
