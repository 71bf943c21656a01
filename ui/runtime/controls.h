#pragma once

// The controls as the windows' handlers use them: light handles onto the controls a window
// owns, with the properties of each kind. Text is UTF-8.
#include "runtime/design.h"
#include "runtime/peers.h"

#include <string>
#include <string_view>

namespace clearmark::runtime {

class Control {
public:
    explicit Control(ControlPeer& peer) : peer_(&peer) {}

    const std::string& name() const { return peer_->name(); }
    ControlKind kind() const { return peer_->kind(); }
    bool visible() const { return peer_->visible(); }
    void setVisible(bool visible) const { peer_->setVisible(visible); }

    // For the window runtime's implementation and its test driver.
    ControlPeer& peer() const { return *peer_; }

    friend bool operator==(const Control& a, const Control& b) { return a.peer_ == b.peer_; }

private:
    ControlPeer* peer_;
};

class TextBox : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::TextBox;
    using Control::Control;
    std::string text() const { return peer().text(); }
    void setText(std::string_view text) const { peer().setText(std::string(text)); }
};

class Label : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Label;
    using Control::Control;
    std::string caption() const { return peer().text(); }
    void setCaption(std::string_view caption) const { peer().setText(std::string(caption)); }
};

class CommandButton : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::CommandButton;
    using Control::Control;
    std::string caption() const { return peer().text(); }
};

// Selecting one option button clears the others of its window.
class OptionButton : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::OptionButton;
    using Control::Control;
    std::string caption() const { return peer().text(); }
    bool value() const { return peer().value(); }
    void setValue(bool selected) const { peer().setValue(selected); }
};

class Picture : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Picture;
    using Control::Control;
    void setPicture(Icon icon) const { peer().setPicture(icon); }
};

// An entry of the window's drop-down menu.
class MenuItem : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::MenuItem;
    using Control::Control;
    std::string caption() const { return peer().text(); }
};

} // namespace clearmark::runtime
