#pragma once

// What an implementation of the window runtime provides, and nothing else: the peers of the
// windows and controls, the message box on the screen, the clipboard, and the application with
// its event loop. The runtime's rules (forms, dispatch, the box seam, the end of the program)
// call these; the windows never include this header.
//
// The runtime decides; an implementation applies. Every rule that names no toolkit is the
// runtime's: the keyboard order and where Tab stops (read-only boxes passed by, the option
// buttons one stop, disabled controls passed by), which button Enter and Esc press (never a
// disabled one), which control gets the keyboard back when a window is active again, the
// access key a caption marks, which menu entry a shortcut key chooses, a label's paragraphs,
// whether a window closed by the user unloads (its Form_QueryUnload), what follows a box (its
// continuation), and that no window takes input while a box is open (runtime/keyboard.h,
// runtime/msgbox.h, runtime/form.h). An implementation applies those decisions with its
// platform's own machinery, so that arrow keys in the option group, mnemonics and input
// methods keep working, and reports what the user did through the peers' callbacks: a click
// or a menu choice (`clicked`), a change of a text box's text by anyone but the program
// (`changed`), a request to close a window (`closeRequested`).
//
// What an implementation still does itself:
//   - draws the windows and controls of the design: sizes and places from twips, fonts,
//     system colours, lines, pictures and icons, the caption of a window;
//   - moves the focus among the controls as the runtime's keyboard order says, and hands
//     Enter, Esc, the access keys and the menu's shortcut keys to the controls and entries the
//     runtime names;
//   - shows the menu entries' access keys and shortcut keys ("Ctrl+N") as its platform does;
//   - draws a disabled control or menu entry greyed and lets no click, key or menu choice
//     reach it, keeping the state of a control not yet on the screen until it is made;
//   - shows a window active, and makes the box's owner active again when the box closes,
//     also where a window manager decides which window is active;
//   - keeps a window out of the task bar where the design says so;
//   - names the controls for screen readers (the names the runtime gives);
//   - the real message box, file dialogs and print dialog, modal for the whole program, and
//     the system clipboard;
//   - draws a printed page (runtime/page.h) on the printer at its resolution, in the face
//     whose widths runtime/text_metrics.h knows;
//   - the event loop.
//
// Everything here is called on the user-interface thread only.
#include "runtime/design.h"
#include "runtime/filedialog.h"
#include "runtime/keyboard.h"
#include "runtime/msgbox.h"
#include "runtime/print.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace clearmark::runtime {

// A native control, or an entry of a window's menu. The runtime owns it for as long as its
// window is loaded.
class ControlPeer {
public:
    ControlPeer(std::string name, ControlKind kind) : name_(std::move(name)), kind_(kind) {}
    virtual ~ControlPeer() = default;
    ControlPeer(const ControlPeer&) = delete;
    ControlPeer& operator=(const ControlPeer&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }

    // A text box's text; the caption of every other kind. UTF-8. Setting it never raises an
    // event of the runtime's.
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // The control's own visibility, whether or not its window is shown.
    virtual bool visible() const = 0;
    virtual void setVisible(bool visible) = 0;
    // Whether the user can use the control (or choose the menu entry): a disabled one is drawn
    // greyed and takes no click, no key and no menu choice, also before its window is on the
    // screen. Disabling the control that holds the focus hands the focus to the next Tab stop.
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    // Moves the control within the client area (twips, as in the design); the size stays.
    virtual void move(int left, int top) = 0;
    // An option button's or a check box's state; clearing the selected one leaves none selected.
    // Setting it does not call `clicked`.
    virtual bool value() const { return false; }
    virtual void setValue(bool /*selected*/) {}
    // A picture control shows the registered picture of that name (runtime/pictures.h).
    virtual void setPicture(const std::string& /*name*/) {}
    // The name a screen reader announces.
    virtual void setAccessibleName(const std::string& /*name*/) {}
    // Whether the control can take the keyboard focus now, and giving it. A control of a
    // window not yet on the screen takes it once the window is shown.
    virtual bool canTakeFocus() const = 0;
    virtual void setFocus() = 0;

    // Set by the runtime; the implementation calls it when the user chooses a command
    // button, an option button, a check box or a menu entry, from its event loop, never from a call
    // the runtime made. The runtime may unload the window inside it: the peer must survive that
    // call (it is destroyed once the handler has returned).
    std::function<void()> clicked;
    // Set by the runtime for text boxes; called, like `clicked`, each time the text has
    // changed by anything but the program's setText: typing, pasting, deleting, and a text set
    // from outside (a screen reader's or a dictation tool's edit).
    std::function<void()> changed;

private:
    std::string name_;
    ControlKind kind_;
};

// A native top-level window. Made hidden; the runtime shows and hides it.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    // The controls of the design, created in stored order; the runtime keeps them, and
    // destroys them before the window.
    virtual std::unique_ptr<ControlPeer> createControl(const ControlDesign& design) = 0;
    virtual void addLine(const LineDesign& design) = 0;
    // The menu bar with its drop-down menus, left to right; their entries, in order.
    virtual std::vector<std::unique_ptr<ControlPeer>>
    createMenus(std::span<const MenuDesign> menus) = 0;
    // Once every control exists: the order the keyboard takes through them (runtime/keyboard.h
    // says where Tab stops), and the buttons for Enter and Esc (either may be null).
    virtual void setKeyboardOrder(const KeyboardOrder& order) = 0;
    virtual void setDefaultButtons(ControlPeer* defaultButton, ControlPeer* cancelButton) = 0;

    // The caption as set; "[*]" in it marks where a document's name ends, which is where Qt
    // shows whether the document has unsaved changes (Windows puts an asterisk first instead).
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Whether the window's document has unsaved changes, shown in the title bar as the
    // platform shows it.
    virtual void setModified(bool modified) = 0;
    virtual bool visible() const = 0;
    // Changes the client area's height below the menu bar (twips); the width stays.
    virtual void setClientHeight(int twips) = 0;
    // Shows the window, active, with the focus where it was last given.
    virtual void show() = 0;
    virtual void hide() = 0;
    // Whether a control of the window holds (or will hold, once shown) the focus.
    virtual bool hasFocusedControl() const = 0;

    // Set by the runtime: the user asked to close the window (title bar, system menu, the
    // close keystroke). The implementation does not close it by itself: the runtime asks the
    // window, and either keeps the peer as it was or may destroy it once the call has returned.
    std::function<void()> closeRequested;
};

// A window of the design, not yet shown.
std::unique_ptr<WindowPeer> createWindowPeer(const WindowDesign& design);

// The real box: modal for the whole program, over the window that is active, which gets the
// keyboard back (and is the active window again) when it closes. `answered` is called once,
// with the button that closed the box; the desktops call it before they return, running the
// event loop meanwhile (painting, timers) while none of the program's windows takes input.
void showMsgBoxOnScreen(const MsgBoxRequest& request,
                        const std::function<void(MsgAnswer)>& answered);

// The platform's file dialog, modal for the whole program like the box; `answered` is called
// once, with the path chosen or none. It asks before a save replaces a file.
void showFileDialogOnScreen(const FileDialogRequest& request,
                            const std::function<void(std::optional<std::string>)>& answered);

// The platform's print dialog, modal for the whole program like the box. When the user prints,
// `layout` gets the chosen paper's area and the page it returns is printed on that printer;
// `answered` is called once: printed, cancelled, or failed with the reason.
void printOnScreen(const std::string& documentName, const PageLayout& layout,
                   const std::function<void(const PrintResult&)>& answered);

// Makes the text (UTF-8) the system clipboard's plain-text content and calls `done` once:
// false when the clipboard could not be had and nothing was copied. It may wait a short while
// for another program that holds the clipboard.
void setSystemClipboardText(std::string_view text, const std::function<void(bool copied)>& done);

// The connection to the window system, for the whole process: made once, before the first
// window, and closed once, after the runtime has destroyed every window.
void startApplication(int& argc, char** argv);
void finishApplication();
// Runs the event loop until quitEventLoop is called; the exit status. It is run once.
int runEventLoop();
// The program's arguments after its own name, UTF-8; once the application has started.
std::vector<std::string> programArguments();
// Asks the loop to end; it returns once the handler that asked has returned. May be called
// before the loop runs (the loop then ends at once).
void quitEventLoop();

} // namespace clearmark::runtime
