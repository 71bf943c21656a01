#include "msgbox.h"

#include "appinfo.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace clearmark::runtime {
namespace {

MsgBoxPresenter& presenter() {
    static MsgBoxPresenter current;
    return current;
}

QMessageBox::Icon toQtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Room that a title bar takes beside its caption: the window icon and three buttons.
constexpr int kTitleBarExtras = 120;

} // namespace

int msgBoxWidthForCaption(const QString& caption) {
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(caption) + kTitleBarExtras;
}

MsgBoxPresenter setMsgBoxPresenter(MsgBoxPresenter next) {
    return std::exchange(presenter(), std::move(next));
}

MsgAnswer msgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                 const std::optional<QString>& caption) {
    const MsgBoxRequest request{text, caption.value_or(appTitle()), buttons, icon};
    if (presenter())
        return presenter()(request);
    return showMsgBoxOnScreen(request);
}

MsgAnswer showMsgBoxOnScreen(const MsgBoxRequest& request) {
    QMessageBox box(toQtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("msgBox"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel =
        request.buttons == MsgButtons::OKCancel ? box.addButton(QMessageBox::Cancel) : nullptr;
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel != nullptr ? cancel : ok);
    // Some captions are longer than their text: the box is made wide enough for the
    // whole caption to be read in its title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(msgBoxWidthForCaption(request.caption), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
    return box.clickedButton() == ok ? MsgAnswer::OK : MsgAnswer::Cancel;
}

} // namespace clearmark::runtime
