// The system's Open and Save As dialogs (comdlg32), modal for the whole program.
#include "runtime/implementation.h"
#include "runtime/win32/win32.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace clearmark::runtime {

void showFileDialogOnScreen(const FileDialogRequest& request,
                            const std::function<void(std::optional<std::string>)>& answered) {
    // "Clearmark jobs (*.clearmark)\0*.clearmark\0\0": the filter's name, then its pattern.
    const std::wstring pattern = L"*." + win32::widen(request.extension);
    std::wstring filter = win32::widen(request.filterName) + L" (" + pattern + L")";
    filter.push_back(L'\0');
    filter += pattern;
    filter.push_back(L'\0');
    const std::wstring title = win32::widen(request.title);
    const std::wstring extension = win32::widen(request.extension);
    std::vector<wchar_t> path(32768, L'\0');
    const std::wstring suggested = win32::widen(request.suggestedName);
    suggested.copy(path.data(), std::min(suggested.size(), path.size() - 1));

    bool chosen = false;
    {
        const win32::ModalForProgram modal;
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = modal.owner();
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = DWORD(path.size());
        dialog.lpstrTitle = title.c_str();
        dialog.lpstrDefExt = extension.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
        if (request.kind == FileDialogKind::Open) {
            dialog.Flags |= OFN_FILEMUSTEXIST;
            chosen = GetOpenFileNameW(&dialog) != 0;
        } else {
            dialog.Flags |= OFN_OVERWRITEPROMPT;
            chosen = GetSaveFileNameW(&dialog) != 0;
        }
    }
    if (chosen)
        answered(win32::narrow(path.data()));
    else
        answered(std::nullopt);
}

} // namespace clearmark::runtime
