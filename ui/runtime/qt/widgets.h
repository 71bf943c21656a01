#pragma once

// The Qt widgets that stand for the windows and controls of a design.
#include "runtime/design.h"

#include <QLabel>
#include <QLine>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <vector>

namespace clearmark::runtime::qt {

// A top-level window: its client area below an optional menu bar. The close button asks
// the runtime, which decides; Enter and Esc press the window's default and cancel buttons.
class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(const WindowDesign& design);

    const WindowDesign& design() const { return design_; }
    QWidget* client() const { return client_; }
    // Sizes the window so that its client area has the design's size below the menu bar.
    void applyDesignGeometry();
    // Gives the client area that height below the menu bar (pixels), keeping the width.
    void setClientHeight(int pixels);
    // Marks the button that Enter presses where the focused control does not take the key.
    void setDefaultButton(QPushButton* button);

    std::function<void()> closeRequested;
    // The control Tab (next) or Shift+Tab gives the focus to, as the runtime decides; null:
    // none (the focus stays).
    std::function<QWidget*(bool next)> tabTarget;
    // The button Enter or Esc presses, as the runtime decides; null: none.
    std::function<QPushButton*(bool enter)> keyTarget;
    // The control that gets the keyboard back when the window is active again, as the
    // runtime decides; null: none.
    std::function<QWidget*()> focusTarget;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab follows the window's own order; the option buttons are one stop, as on Windows.
    bool focusNextPrevChild(bool next) override;

private:
    int menuBarHeight(int width) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const WindowDesign& design_;
    QWidget* client_;
    int clientHeight_; // pixels
};

// A command button whose caption wraps at word boundaries within the button, centred, with
// its access key underlined; Enter reaches its window, which asks the runtime.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

    // The rectangle the caption is laid out in, and the flags it is drawn with.
    QRect captionRect() const;
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A single-line text box with the sunken three-dimensional border of the design: two pixels,
// the outer dark grey above and to the left and white below and to the right, the inner
// black and light grey, the box's own colour within.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(const QString& text, QWidget* parent = nullptr);
    static constexpr int kBorder = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label that wraps its caption within its rectangle. A run of two or more blanks fills
// out the rest of its line, so that the text after it begins on a new line, as the Windows
// label draws such a caption; the caption is kept exactly as given.
class Label : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The lines as drawn where the caption holds such runs: each paragraph word-wrapped at
    // the label's width.
    QStringList displayLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A straight line drawn on the window, beneath its controls; an element of a line array.
class Line : public QWidget {
    Q_OBJECT
public:
    Line(QWidget* client, const LineDesign& design);
    int index() const { return index_; }
    QLine line() const { return line_; } // in the client area, pixels
    QColor color() const { return color_; }
    int lineWidth() const { return width_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int index_;
    QLine line_;
    QColor color_;
    int width_;
};

} // namespace clearmark::runtime::qt
