#pragma once

// What a window runtime's implementation provides for each window and control: a native
// window or control that the toolkit-free runtime drives. The runtime owns the peers; an
// implementation calls the callbacks when the user acts, and never calls a window's handler
// itself.
#include "runtime/design.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace clearmark::runtime {

class ControlPeer {
public:
    ControlPeer(std::string name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}
    virtual ~ControlPeer() = default;
    ControlPeer(const ControlPeer&) = delete;
    ControlPeer& operator=(const ControlPeer&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }

    // A text box's text; the caption of every other kind. UTF-8.
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // The control's own visibility, whether or not its window is shown.
    virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    // An option button's state; clearing the selected one leaves none selected.
    virtual bool value() const { return false; }
    virtual void setValue(bool /*selected*/) {}
    virtual void setPicture(Icon /*icon*/) {}
    // The name a screen reader announces.
    virtual void setAccessibleName(const std::string& /*name*/) {}
    // Whether the control can take the keyboard focus now, and giving it.
    virtual bool canTakeFocus() const = 0;
    virtual void setFocus() = 0;

    // Set by the runtime: a command button, option button or menu entry was chosen.
    std::function<void()> clicked;

private:
    std::string name_;
    ControlKind kind_;
};

class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    // The controls of the design, created in stored order; the runtime keeps them.
    virtual std::unique_ptr<ControlPeer> createControl(const ControlDesign& design) = 0;
    virtual void addLine(const LineDesign& design) = 0;
    // The menu bar; its entries, in order.
    virtual std::vector<std::unique_ptr<ControlPeer>> createMenu(const MenuDesign& design) = 0;
    // Once every control exists: the keyboard order, and the buttons for Enter and Esc.
    virtual void setTabOrder(const std::vector<ControlPeer*>& order) = 0;
    virtual void setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) = 0;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual bool visible() const = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // Whether a control of the window holds (or will hold, once shown) the focus.
    virtual bool hasFocusedControl() const = 0;

    // Set by the runtime: the user asked to close the window (title bar, system menu, the
    // close keystroke). The implementation does not close it by itself.
    std::function<void()> closeRequested;
};

// Made by the implementation the program is built with.
std::unique_ptr<WindowPeer> createWindowPeer(const WindowDesign& design);

} // namespace clearmark::runtime
