#include "runtime/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace clearmark::runtime {

void setClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), qsizetype(text.size())),
                                          QClipboard::Clipboard);
}

} // namespace clearmark::runtime
