#pragma once

#include "runtime/controls.h"
#include "runtime/design.h"
#include "runtime/keyboard.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace clearmark::runtime {

class WindowPeer;

// Runs one handler for an event from the user: nothing runs once the program has ended, and
// windows unloaded by the handler are destroyed once the outermost handler has returned.
void dispatch(const std::function<void()>& handler);

// A window of the program. Its controls are created from its design when it is made; the
// derived class binds its control handles by name and connects its handlers. Instances are
// made, loaded and destroyed only through Forms, which keeps at most one of each.
class Form {
public:
    explicit Form(const WindowDesign& design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const WindowDesign& design() const { return design_; }
    // The caption, without the mark "[*]" of where a document's name ends.
    std::string caption() const;
    void setCaption(std::string_view caption);
    // Whether the document the window shows has unsaved changes: shown in the title bar the
    // way the platform does it, where the caption's "[*]" is, or before the caption.
    void setModified(bool modified);
    bool visible() const;
    // The height of the window's client area below its menu bar (twips); the width stays.
    void setClientHeight(int twips);

    // The control of that name and kind; asking for one the design does not hold is a
    // programming error (std::logic_error).
    template <class T> T control(std::string_view name) const {
        return T(controlPeer(name, T::kKind));
    }
    // Every control and menu entry, in stored order.
    std::vector<Control> controls() const;
    // The controls that can take the focus, in the order of their tab indexes.
    std::vector<Control> tabOrder() const;

protected:
    // Runs after the controls exist, each time the window is loaded.
    virtual void Form_Load() {}
    // Asked when the user closes the window (its title-bar close button, the system menu, the
    // close keystroke): true lets it unload; false keeps it loaded and shown as it was (the
    // window may unload itself later, e.g. once a box it opened has been answered). Not asked
    // when the program unloads the window itself.
    virtual bool Form_QueryUnload() { return true; }
    // Runs when the window is unloaded by the user or by its own command.
    virtual void Form_Unload() {}

    template <class W, class C> void onClick(const C& control, void (W::*handler)()) {
        W* window = static_cast<W*>(this);
        onClick(control, [window, handler] { (window->*handler)(); });
    }
    // The handler runs through dispatch each time the user chooses the control.
    static void onClick(const Control& control, std::function<void()> handler);
    template <class W> void onChange(const TextBox& box, void (W::*handler)()) {
        W* window = static_cast<W*>(this);
        onChange(box, [window, handler] { (window->*handler)(); });
    }
    // The handler runs through dispatch each time the box's text changes by anything but the
    // window (typing, pasting, deleting, a screen reader's edit); never when the window sets it.
    static void onChange(const TextBox& box, std::function<void()> handler);
    // A text box is announced by the caption of the label that names it.
    static void nameFromLabel(const TextBox& box, const Label& label);
    // The name a screen reader announces for the control.
    static void setAccessibleName(const Control& control, std::string_view name);

private:
    friend class Forms;
    friend struct PeerAccess;
    ControlPeer& controlPeer(std::string_view name, ControlKind kind) const;
    void focusFirstControl();

    const WindowDesign& design_;
    std::unique_ptr<WindowPeer> peer_;
    std::vector<std::unique_ptr<ControlPeer>> controls_; // stored order, then the menu
    std::vector<KeyStop> keyboard_;      // every control the keyboard reaches, in its order
    std::vector<ControlPeer*> tabOrder_; // those of them Tab stops at
    bool unloading_ = false;
};

} // namespace clearmark::runtime
