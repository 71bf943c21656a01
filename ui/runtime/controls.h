#pragma once

#include <QColor>
#include <QLabel>
#include <QLine>
#include <QPushButton>
#include <QString>
#include <Qt>

class QLineEdit;
class QRadioButton;

namespace clearmark::runtime {

enum class ControlKind { CommandButton, TextBox, Label, ParagraphLabel, OptionButton, Picture };

// A fixed text colour; kSystemColor keeps the system's text colour.
inline constexpr unsigned kSystemColor = 0xFFFFFFFFu;

struct FontDesign {
    double points = 8.25;
    bool bold = false;
};

// One row of a window's design table; positions and sizes in twips within the client area.
struct ControlDesign {
    const char* name;
    ControlKind kind;
    const char* caption;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    FontDesign font = {};
    bool visible = true;
    bool centred = false;
    unsigned foreColor = kSystemColor; // 0xRRGGBB
};

// A command button whose caption wraps at word boundaries within the button, centred, with
// its access key underlined, as the designs expect of buttons with long captions.
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

// A label whose caption holds paragraphs separated by runs of blanks, each run filling out
// the rest of its line so that the next paragraph begins on a new line. The caption is
// kept exactly as given; only the drawing breaks the lines.
class ParagraphLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The lines as drawn: each paragraph word-wrapped at the label's width.
    QStringList displayLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A straight line drawn on the window, beneath its windowed controls; part of a control
// array (its name and index).
class Line : public QWidget {
    Q_OBJECT
public:
    Line(QWidget* client, const char* name, int index, QPoint fromTwips, QPoint toTwips,
         QColor color, int widthPixels);
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

// Creates a control from its design row as a child of the client area.
QWidget* createControl(QWidget* client, const ControlDesign& design);

// Sets an option button's state. Unlike a plain setChecked, clearing the selected button of
// the window's group is allowed, so that a window can hold no selection at all.
void setOptionValue(QRadioButton* option, bool selected);

} // namespace clearmark::runtime
