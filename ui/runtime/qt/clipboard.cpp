#include "runtime/implementation.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace clearmark::runtime {

void setSystemClipboardText(std::string_view text, const std::function<void(bool copied)>& done) {
    const QString wanted = QString::fromUtf8(text.data(), qsizetype(text.size()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(wanted, QClipboard::Clipboard);
    // Qt reports no failure of its own: the copy is what the clipboard holds afterwards.
    done(clipboard->text(QClipboard::Clipboard) == wanted);
}

} // namespace clearmark::runtime
