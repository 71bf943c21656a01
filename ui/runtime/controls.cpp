#include "runtime/controls.h"

#include "runtime/peer_access.h"

namespace clearmark::runtime {

const std::string& Control::name() const {
    return peer_->name();
}

ControlKind Control::kind() const {
    return peer_->kind();
}

bool Control::visible() const {
    return peer_->visible();
}

void Control::setVisible(bool visible) const {
    peer_->setVisible(visible);
}

bool Control::enabled() const {
    return peer_->enabled();
}

void Control::setEnabled(bool enabled) const {
    peer_->setEnabled(enabled);
}

void Control::setFocus() const {
    peer_->setFocus();
}

void Control::move(int left, int top) const {
    peer_->move(left, top);
}

std::string Control::text() const {
    return peer_->text();
}

void Control::setText(std::string_view text) const {
    peer_->setText(std::string(text));
}

bool OptionButton::value() const {
    return PeerAccess::of(*this).value();
}

void OptionButton::setValue(bool selected) const {
    PeerAccess::of(*this).setValue(selected);
}

bool CheckBox::value() const {
    return PeerAccess::of(*this).value();
}

void CheckBox::setValue(bool checked) const {
    PeerAccess::of(*this).setValue(checked);
}

void Picture::setPicture(std::string_view name) const {
    PeerAccess::of(*this).setPicture(std::string(name));
}

} // namespace clearmark::runtime
