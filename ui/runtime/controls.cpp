#include "controls.h"

#include "fonts.h"
#include "syscolors.h"
#include "twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
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

QStringList ParagraphLabel::displayLines() const {
    static const QRegularExpression paragraphEnd(QStringLiteral(" {2,}"));
    QStringList lines;
    for (const QString& paragraph : text().split(paragraphEnd)) {
        QTextLayout layout(paragraph, font());
        QTextOption option(alignment());
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width());
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return lines;
}

void ParagraphLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = fontMetrics().lineSpacing();
    int top = 0;
    for (const QString& line : displayLines()) {
        painter.drawText(QRect(0, top, width(), lineHeight), int(alignment()), line);
        top += lineHeight;
    }
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
    case ControlKind::Label:
    case ControlKind::ParagraphLabel: {
        auto* label = design.kind == ControlKind::Label ? new QLabel(caption, client)
                                                        : new ParagraphLabel(caption, client);
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
    case ControlKind::Picture: {
        // Shows an icon inside a sunken border; the caller sets the picture.
        auto* picture = new QLabel(client);
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setLineWidth(2);
        picture->setAlignment(Qt::AlignCenter);
        picture->setFocusPolicy(Qt::TabFocus);
        return picture;
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
    if (design.foreColor != kSystemColor) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, QColor::fromRgb(design.foreColor));
        widget->setPalette(palette);
    }
    if (!design.visible)
        widget->setVisible(false);
    return widget;
}

Line::Line(QWidget* client, const char* name, int index, QPoint fromTwips, QPoint toTwips,
           QColor color, int widthPixels)
    : QWidget(client), index_(index),
      line_(twipsPoint(fromTwips.x(), fromTwips.y()), twipsPoint(toTwips.x(), toTwips.y())),
      color_(color), width_(widthPixels) {
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // The widget covers the line and its width; the line is drawn in client coordinates.
    setGeometry(QRect(line_.p1(), line_.p2()).normalized().adjusted(0, 0, width_, width_));
}

void Line::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QPen pen(color_);
    pen.setWidth(width_);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    // A pen of even width is centred between pixels: shift it so that the line's pixels
    // start at its design coordinate and grow downwards and to the right.
    const QPointF shift = QPointF(width_ / 2.0, width_ / 2.0) - QPointF(pos());
    painter.drawLine(QLineF(line_).translated(shift));
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
