#include "runtime/implementation.h"

#include "runtime/qt/msgbox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <utility>
#include <vector>

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
    case MsgIcon::Question:
        return QMessageBox::Question;
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

void showMsgBoxOnScreen(const MsgBoxRequest& request,
                        const std::function<void(MsgAnswer)>& answered) {
    const QString caption = QString::fromStdString(request.caption);
    // The box stands over the window whose handler opens it, and gives it the keyboard back.
    const QPointer<QWidget> owner = QApplication::activeWindow();
    QMessageBox box(qt::toQtIcon(request.icon), caption, QString::fromStdString(request.text),
                    QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("msgBox"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    // The buttons in the system's order, each with its answer; the first is the default.
    std::vector<std::pair<QPushButton*, MsgAnswer>> buttons;
    const auto add = [&box, &buttons](QMessageBox::StandardButton button, MsgAnswer answer) {
        buttons.emplace_back(box.addButton(button), answer);
    };
    switch (request.buttons) {
    case MsgButtons::OK:
        add(QMessageBox::Ok, MsgAnswer::OK);
        break;
    case MsgButtons::OKCancel:
        add(QMessageBox::Ok, MsgAnswer::OK);
        add(QMessageBox::Cancel, MsgAnswer::Cancel);
        break;
    case MsgButtons::YesNoCancel:
        add(QMessageBox::Yes, MsgAnswer::Yes);
        add(QMessageBox::No, MsgAnswer::No);
        add(QMessageBox::Cancel, MsgAnswer::Cancel);
        break;
    }
    // Plain buttons, as the system's boxes have them, whatever the style would add.
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    box.setDefaultButton(buttons.front().first);
    // Esc and the close button answer Cancel where it is offered, else OK.
    box.setEscapeButton(buttons.back().first);
    // Some captions are longer than their text: the box is made wide enough for the
    // whole caption to be read in its title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(qt::msgBoxWidthForCaption(caption), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
    if (owner != nullptr && owner->isVisible())
        owner->activateWindow();
    MsgAnswer answer = buttons.back().second;
    for (const auto& [button, meaning] : buttons)
        if (box.clickedButton() == button)
            answer = meaning;
    answered(answer);
}

} // namespace clearmark::runtime
