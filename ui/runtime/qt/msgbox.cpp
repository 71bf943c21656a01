#include "runtime/implementation.h"

#include "runtime/qt/msgbox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace clearmark::runtime {
namespace qt {
namespace {

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

} // namespace qt

MsgAnswer showMsgBoxOnScreen(const MsgBoxRequest& request) {
    const QString caption = QString::fromStdString(request.caption);
    // The box stands over the window whose handler opens it, and gives it the keyboard back.
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QMessageBox box(qt::toQtIcon(request.icon), caption, QString::fromStdString(request.text),
                    QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("msgBox"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel =
        request.buttons == MsgButtons::OKCancel ? box.addButton(QMessageBox::Cancel) : nullptr;
    // Plain buttons, as the system's boxes have them, whatever the style would add.
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel != nullptr ? cancel : ok);
    // Some captions are longer than their text: the box is made wide enough for the
    // whole caption to be read in its title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(qt::msgBoxWidthForCaption(caption), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
    if (owner != nullptr && owner->isVisible())
        owner->activateWindow();
    return box.clickedButton() == ok ? MsgAnswer::OK : MsgAnswer::Cancel;
}

} // namespace clearmark::runtime
