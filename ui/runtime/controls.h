#pragma once

// The controls as the windows' handlers use them: light handles onto the controls a window
// owns, with the properties of each kind. Text is UTF-8.
#include "runtime/design.h"

#include <string>
#include <string_view>

namespace clearmark::runtime {

class ControlPeer;

class Control {
public:
    explicit Control(ControlPeer& peer) : peer_(&peer) {}

    const std::string& name() const;
    ControlKind kind() const;
    bool visible() const;
    void setVisible(bool visible) const;
    // A disabled control (or menu entry) is greyed: it takes no click and no key, a menu entry
    // cannot be chosen nor its shortcut key used, and Tab passes it by.
    bool enabled() const;
    void setEnabled(bool enabled) const;
    // Gives the control the keyboard focus (once its window is shown, if it is not yet).
    void setFocus() const;
    // Moves the control within its window's client area (twips); its size stays.
    void move(int left, int top) const;

    friend bool operator==(const Control& a, const Control& b) { return a.peer_ == b.peer_; }

protected:
    std::string text() const;
    void setText(std::string_view text) const;

private:
    friend struct PeerAccess;
    ControlPeer* peer_;
};

class TextBox : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::TextBox;
    using Control::Control;
    std::string text() const { return Control::text(); }
    void setText(std::string_view text) const { Control::setText(text); }
};

class Label : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Label;
    using Control::Control;
    std::string caption() const { return text(); }
    void setCaption(std::string_view caption) const { setText(caption); }
};

class CommandButton : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::CommandButton;
    using Control::Control;
    std::string caption() const { return text(); }
    void setCaption(std::string_view caption) const { setText(caption); }
};

// Selecting one option button clears the others of its window.
class OptionButton : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::OptionButton;
    using Control::Control;
    std::string caption() const { return text(); }
    bool value() const;
    void setValue(bool selected) const;
};

// A check box: checked or not, independently of every other control.
class CheckBox : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::CheckBox;
    using Control::Control;
    std::string caption() const { return text(); }
    bool value() const;
    void setValue(bool checked) const;
};

class Picture : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Picture;
    using Control::Control;
    // Shows the picture the program registered under that name (runtime/pictures.h).
    void setPicture(std::string_view name) const;
};

// An entry of one of the window's drop-down menus.
class MenuItem : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::MenuItem;
    using Control::Control;
    std::string caption() const { return text(); }
};

} // namespace clearmark::runtime
