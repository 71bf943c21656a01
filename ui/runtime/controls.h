#pragma once

#include <QPushButton>
#include <QString>
#include <Qt>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace clearmark::runtime {

enum class ControlKind { CommandButton, TextBox, Label, OptionButton };

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

// Creates a control from its design row as a child of the client area.
QWidget* createControl(QWidget* client, const ControlDesign& design);

// Sets an option button's state. Unlike a plain setChecked, clearing the selected button of
// the window's group is allowed, so that a window can hold no selection at all.
void setOptionValue(QRadioButton* option, bool selected);

} // namespace clearmark::runtime
