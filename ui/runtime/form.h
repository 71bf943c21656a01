#pragma once

#include "controls.h"
#include "syscolors.h"

#include <QPushButton>
#include <QWidget>
#include <span>
#include <vector>

class QMenuBar;

namespace clearmark::runtime {

class Forms;

enum class Border { Sizable, FixedDialog };

// The window itself, from a window's design: caption, client size in twips, border, the
// optional fixed start position of the client area's top-left corner, back colour.
struct WindowDesign {
    const char* name;
    const char* caption;
    int clientWidth;
    int clientHeight;
    Border border = Border::Sizable;
    bool fixedStart = false;
    int startLeft = 0;
    int startTop = 0;
    SystemColor backColor = SystemColor::ButtonFace;
    bool inTaskBar = true;
};

// A window of the program. The derived class creates its controls in its constructor from
// its design table; the runtime then runs Form_Load. Instances are made and destroyed only
// through Forms, which keeps at most one of each.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const WindowDesign& design);

    QString formName() const { return objectName(); }
    // The client area: the window below its menu bar; controls are placed within it.
    QWidget* client() const { return client_; }
    // The controls that can take the focus, in tab order.
    const std::vector<QWidget*>& tabOrder() const { return tabOrder_; }
    // Gives the focus to the first control in tab order that can take it.
    void focusFirstControl();

protected:
    friend class Forms;
    // Runs after the controls exist, each time the window is loaded.
    virtual void Form_Load() {}
    // Runs when the window is unloaded by the user or by its own command.
    virtual void Form_Unload() {}

    // Creates the controls of a design table in order (their stacking order), places labels
    // beneath the windowed controls, and sets the tab order from the tab indexes.
    void buildControls(std::span<const ControlDesign> design);
    void setMenuBar(QMenuBar* menuBar);
    // The buttons that Enter and Esc press, wherever the focus is in the window.
    void setDefaultButtons(QPushButton* defaultButton, QPushButton* cancelButton);
    // Connects a command button's click to a handler of the window.
    // Gives a text box the caption of its label as its accessible name.
    void nameFromLabel(const char* box, const char* label);
    template <class W> void onClick(const char* name, void (W::*handler)()) {
        connect(control<QPushButton>(name), &QPushButton::clicked, static_cast<W*>(this), handler);
    }
    template <class T> T* control(const char* name) const {
        return client_->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    }

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyDesignGeometry();

    WindowDesign design_;
    QWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    QPushButton* defaultButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    std::vector<QWidget*> tabOrder_;
    bool unloading_ = false;
};

} // namespace clearmark::runtime
