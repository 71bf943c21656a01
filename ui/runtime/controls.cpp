#include "controls.h"

#include "fonts.h"
#include "syscolors.h"
#include "twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <limits>

namespace clearmark::runtime {

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

QRect CommandButton::captionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

void CommandButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    QRect textRect = captionRect();
    if (isDown() || isChecked())
        textRect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.drawItemText(textRect, kCaptionFlags, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

namespace {

QWidget* makeWidget(QWidget* client, const ControlDesign& design) {
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
    case ControlKind::CommandButton:
        return new CommandButton(caption, client);
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(caption, client);
        box->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        box->setFrame(true);
        box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return box;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, client);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setMargin(0);
        label->setIndent(0);
        label->setAlignment((design.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, systemColor(SystemColor::ButtonFace));
        label->setPalette(palette);
        label->setFocusPolicy(Qt::NoFocus);
        return label;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(caption, client);
        option->setAutoExclusive(true);
        return option;
    }
    }
    return nullptr;
}

} // namespace

QWidget* createControl(QWidget* client, const ControlDesign& design) {
    QWidget* widget = makeWidget(client, design);
    widget->setObjectName(QString::fromLatin1(design.name));
    widget->setGeometry(twipsRect(design.left, design.top, design.width, design.height));
    widget->setFont(designFont(design.font.points, design.font.bold));
    if (!design.visible)
        widget->setVisible(false);
    return widget;
}

void setOptionValue(QRadioButton* option, bool selected) {
    if (selected || !option->isChecked()) {
        option->setChecked(selected);
        return;
    }
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

} // namespace clearmark::runtime
