#include "runtime/implementation.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>

namespace clearmark::runtime {

void showFileDialogOnScreen(const FileDialogRequest& request,
                            const std::function<void(std::optional<std::string>)>& answered) {
    // Over the window whose handler asks, which gets the keyboard back when it closes.
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QFileDialog dialog(owner, QString::fromStdString(request.title));
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setWindowModality(Qt::ApplicationModal);
    const QString extension = QString::fromStdString(request.extension);
    dialog.setNameFilter(QString::fromStdString(request.filterName) + QStringLiteral(" (*.") +
                         extension + QStringLiteral(")"));
    dialog.setDefaultSuffix(extension);
    if (request.kind == FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!request.suggestedName.empty())
        dialog.selectFile(QString::fromStdString(request.suggestedName));
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    const std::optional<std::string> path =
        chosen ? std::optional(dialog.selectedFiles().constFirst().toStdString()) : std::nullopt;
    if (owner)
        owner->activateWindow();
    answered(path);
}

} // namespace clearmark::runtime
