#include "runtime/qt/widgets.h"

#include "runtime/keyboard.h"
#include "runtime/pictures.h"
#include "runtime/qt/icons.h"
#include "runtime/qt/syscolors.h"
#include "runtime/twips.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <qdrawutil.h>

namespace clearmark::runtime::qt {
namespace {

Qt::WindowFlags flagsFor(const WindowDesign& design) {
    const Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (design.border == Border::Sizable)
        return flags | Qt::Window | Qt::WindowMinimizeButtonHint;
    // X11 and Wayland keep utility windows out of the task bar.
    return flags | (design.inTaskBar ? Qt::Dialog : Qt::Tool);
}

QPoint pixels(int x, int y) {
    return {twipsToPixels(x), twipsToPixels(y)};
}

bool isEnter(const QKeyEvent* event) {
    const bool key = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return key && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

namespace {

// A screen reader hears a window of the program as a window (a frame; the fixed dialog, a
// dialog), named by its caption, rather than as a piece of one.
QAccessibleInterface* windowAccessible(const QString& /*className*/, QObject* object) {
    auto* window = qobject_cast<Window*>(object);
    if (window == nullptr)
        return nullptr;
    return new QAccessibleWidget(window, window->design().border == Border::FixedDialog
                                             ? QAccessible::Dialog
                                             : QAccessible::Window);
}

} // namespace

Window::Window(const WindowDesign& design)
    : QWidget(nullptr, flagsFor(design)), design_(design), client_(new QWidget(this)),
      clientHeight_(twipsToPixels(design.clientHeight)) {
    static const bool once = [] {
        QAccessible::installFactory(windowAccessible);
        // Boxes without a window of their own show it too.
        QApplication::setWindowIcon(pictureIcon(kWindowIcon));
        return true;
    }();
    (void)once;
    setObjectName(QString::fromLatin1(design.name));
    setWindowTitle(QString::fromUtf8(design.caption));
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowIcon(pictureIcon(kWindowIcon));

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, systemColor(design.backColor));
    setPalette(palette);
    setAutoFillBackground(true);

    client_->setObjectName(QStringLiteral("client"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client_);
    applyDesignGeometry();
}

int Window::menuBarHeight(int width) const {
    QWidget* menuBar = layout()->menuBar();
    if (menuBar == nullptr)
        return 0;
    return menuBar->hasHeightForWidth() ? menuBar->heightForWidth(width)
                                        : menuBar->sizeHint().height();
}

void Window::applyDesignGeometry() {
    const int width = twipsToPixels(design_.clientWidth);
    const QSize size(width, clientHeight_ + menuBarHeight(width));
    if (design_.start)
        setGeometry(QRect(pixels(design_.start->left, design_.start->top), size));
    else
        resize(size);
    if (design_.border == Border::FixedDialog)
        setFixedSize(size);
}

void Window::setClientHeight(int pixels) {
    clientHeight_ = pixels;
    const QSize size(width(), pixels + menuBarHeight(width()));
    if (design_.border == Border::FixedDialog)
        setFixedSize(size);
    else
        resize(size);
}

void Window::setDefaultButton(QPushButton* button) {
    if (button != nullptr)
        button->setDefault(true);
}

void Window::keyPressEvent(QKeyEvent* event) {
    // Keys that reach the window were not taken by the focused control.
    const bool enter = isEnter(event);
    if ((enter || event->key() == Qt::Key_Escape) && keyTarget)
        if (QPushButton* button = keyTarget(enter)) {
            button->click();
            return;
        }
    QWidget::keyPressEvent(event);
}

bool Window::focusNextPrevChild(bool next) {
    if (!tabTarget)
        return QWidget::focusNextPrevChild(next);
    QWidget* target = tabTarget(next);
    if (target == nullptr)
        return false;
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool Window::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && focusTarget)
        if (QWidget* target = focusTarget(); target != nullptr && target != focusWidget())
            target->setFocus(Qt::ActiveWindowFocusReason);
    return handled;
}

void Window::closeEvent(QCloseEvent* event) {
    // The title-bar close button, the system menu and the close keystroke ask to unload the
    // window; the runtime hides and destroys it itself.
    event->ignore();
    if (closeRequested)
        closeRequested();
}

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

TextBox::TextBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    // The style draws no frame of its own; the text keeps clear of the border.
    setFrame(false);
    setTextMargins(kBorder + 1, kBorder, kBorder, kBorder);
}

void TextBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), true);
}

QStringList Label::displayLines() const {
    QStringList lines;
    // Each paragraph the runtime finds begins a line of its own.
    const std::string caption = text().toStdString();
    for (const std::string_view part : paragraphsOf(caption)) {
        const QString paragraph = QString::fromUtf8(part.data(), qsizetype(part.size()));
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

void Label::paintEvent(QPaintEvent* event) {
    if (paragraphsOf(text().toStdString()).size() < 2) {
        QLabel::paintEvent(event);
        return;
    }
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

Line::Line(QWidget* client, const LineDesign& design)
    : QWidget(client), index_(design.index),
      line_(pixels(design.x1, design.y1), pixels(design.x2, design.y2)),
      color_(QColor::fromRgb(design.color)), width_(design.widthPixels) {
    setObjectName(QString::fromLatin1(design.name));
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
    // A pen is centred on its line: shift it across the line by half its width, so that the
    // line's pixels start at its design coordinates and grow downwards (or to the right).
    const bool horizontal = std::abs(line_.dy()) <= std::abs(line_.dx());
    const QPointF across = horizontal ? QPointF(0, width_ / 2.0) : QPointF(width_ / 2.0, 0);
    const QPointF shift = across - QPointF(pos());
    painter.drawLine(QLineF(line_).translated(shift));
}

} // namespace clearmark::runtime::qt
