#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace clearmark::runtime {

void setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

} // namespace clearmark::runtime
