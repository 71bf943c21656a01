#include "runtime/implementation.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace clearmark::runtime {

bool setSystemClipboardText(std::string_view text) {
    const QString wanted = QString::fromUtf8(text.data(), qsizetype(text.size()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(wanted, QClipboard::Clipboard);
    // Qt reports no failure of its own: the copy is what the clipboard holds afterwards.
    return clipboard->text(QClipboard::Clipboard) == wanted;
}

} // namespace clearmark::runtime
