#include "runtime/form.h"

#include "runtime/forms.h"
#include "runtime/implementation.h"
#include "runtime/keyboard.h"
#include "runtime/msgbox.h"
#include "runtime/peer_access.h"

#include <algorithm>

namespace clearmark::runtime {
namespace {

// What the user does to a window: nothing while a box is open, which takes every input.
void dispatchInput(const std::function<void()>& handler) {
    if (!msgBoxOpen())
        dispatch(handler);
}

} // namespace

Form::Form(const WindowDesign& design) : design_(design), peer_(createWindowPeer(design)) {
    std::vector<ControlPeer*> peers;
    for (const ControlDesign& row : design.controls) {
        controls_.push_back(peer_->createControl(row));
        peers.push_back(controls_.back().get());
    }
    keyboard_ = keyboardOrder(design.controls, peers);
    for (const KeyStop& stop : keyboard_)
        if (!stop.passedBy)
            tabOrder_.push_back(stop.control);
    peer_->setKeyboardOrder(keyboard_);
    for (std::size_t i = 0; i < peers.size(); ++i)
        if (!design.controls[i].enabled)
            peers[i]->setEnabled(false);

    for (const LineDesign& line : design.lines)
        peer_->addLine(line);
    if (!design.menus.empty())
        for (auto& entry : peer_->createMenus(design.menus))
            controls_.push_back(std::move(entry));

    const auto button = [this](const char* name) {
        return name == nullptr ? nullptr : &controlPeer(name, ControlKind::CommandButton);
    };
    peer_->setDefaultButtons(button(design.defaultButton), button(design.cancelButton));

    peer_->closeRequested = [this] {
        dispatchInput([this] {
            if (Form_QueryUnload())
                forms().unload(*this);
        });
    };
}

Form::~Form() = default;

ControlPeer& Form::controlPeer(std::string_view name, ControlKind kind) const {
    for (const auto& control : controls_)
        if (control->name() == name) {
            if (control->kind() != kind)
                throw std::logic_error(std::string(design_.name) + "." + std::string(name) +
                                       " is another kind of control");
            return *control;
        }
    throw std::logic_error(std::string(design_.name) + " has no control " + std::string(name));
}

std::string Form::caption() const {
    std::string caption = peer_->caption();
    if (const std::size_t marker = caption.find("[*]"); marker != std::string::npos)
        caption.erase(marker, 3);
    return caption;
}

void Form::setCaption(std::string_view caption) {
    peer_->setCaption(std::string(caption));
}

void Form::setModified(bool modified) {
    peer_->setModified(modified);
}

bool Form::visible() const {
    return peer_->visible();
}

void Form::setClientHeight(int twips) {
    peer_->setClientHeight(twips);
}

void Form::onClick(const Control& control, std::function<void()> handler) {
    PeerAccess::of(control).clicked = [handler = std::move(handler)] {
        dispatchInput(handler);
    };
}

std::vector<Control> Form::controls() const {
    std::vector<Control> all;
    for (const auto& control : controls_)
        all.emplace_back(*control);
    return all;
}

std::vector<Control> Form::tabOrder() const {
    std::vector<Control> order;
    for (ControlPeer* control : tabOrder_)
        order.emplace_back(*control);
    return order;
}

void Form::onChange(const TextBox& box, std::function<void()> handler) {
    PeerAccess::of(box).changed = [handler = std::move(handler)] {
        dispatchInput(handler);
    };
}

void Form::setAccessibleName(const Control& control, std::string_view name) {
    PeerAccess::of(control).setAccessibleName(std::string(name));
}

void Form::nameFromLabel(const TextBox& box, const Label& label) {
    PeerAccess::of(box).setAccessibleName(label.caption());
}

void Form::focusFirstControl() {
    const auto first = std::find_if(tabOrder_.begin(), tabOrder_.end(),
                                    [](const ControlPeer* c) { return c->canTakeFocus(); });
    if (first != tabOrder_.end())
        (*first)->setFocus();
}

} // namespace clearmark::runtime
