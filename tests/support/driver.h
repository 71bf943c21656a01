#pragma once

// The input driver of the window tests: what a user does to the windows, done through the
// real toolkit of the window runtime's implementation (real key and mouse events, the real
// clipboard). Each implementation's tests provide driver().
#include "runtime/controls.h"
#include "runtime/form.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace clearmark::testing_support {

enum class Key { Tab, ShiftTab, Enter, Escape, Space, Backspace };

// The room a caption needs as the implementation lays it out, beside the room it has
// (pixels): a command button's within its frame, a label's wrapped within its rectangle (a
// label of paragraphs, paragraph by paragraph).
struct CaptionRoom {
    int neededWidth = 0;
    int neededHeight = 0;
    int width = 0;
    int height = 0;
};

// What a real message box showed while it was on the screen.
struct RealBox {
    bool shown = false;
    std::string text;
    std::string ownerCaption;      // the caption of the window it belongs to
    bool programTakesInput = true; // whether another window of the program took input
};

class Driver {
public:
    virtual ~Driver() = default;
    // A mouse click on a command button, an option button or a check box; the system gives a
    // click on a disabled one to its window.
    virtual void click(const runtime::Control& control) = 0;
    // Chooses an entry of a window's menu.
    virtual void choose(const runtime::MenuItem& entry) = 0;
    // Types the text (ASCII) into the text box, key by key, after what it holds.
    virtual void type(const runtime::TextBox& box, std::string_view text) = 0;
    // Pastes the clipboard into the text box with the paste keystroke.
    virtual void paste(const runtime::TextBox& box) = 0;
    // The index of the first character of the text box's text that can be seen (0 when the
    // text is shown from its start), as the box was last drawn.
    virtual int firstVisibleCharacter(const runtime::TextBox& box) = 0;
    // Presses a key in the window, where its focus is; the window is made the active one
    // first, as a click on its title bar does.
    virtual void press(const runtime::Form& form, Key key) = 0;
    // Holds Alt and presses the letter (an access key) in the window, made active first.
    virtual void pressAlt(const runtime::Form& form, char letter) = 0;
    // Holds Ctrl and presses the letter (a shortcut key) in the window, where its focus is,
    // made active first.
    virtual void pressCtrl(const runtime::Form& form, char letter) = 0;
    // Makes the window the active one, as a click on its title bar does.
    virtual void activate(const runtime::Form& form) = 0;
    // The name of the control of the window that holds the keyboard focus; "" for none (and
    // for a window that is not active, on a system where only the active window has it).
    virtual std::string focused(const runtime::Form& form) = 0;
    // Closes the window with its title-bar close button.
    virtual void close(const runtime::Form& form) = 0;
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(std::string_view text) = 0;
    // Lets the toolkit finish what it deferred (destroying closed windows, painting).
    virtual void settle() = 0;

    virtual CaptionRoom captionRoom(const runtime::Control& control) = 0;
    // A label's text as the implementation draws it, line by line.
    virtual std::vector<std::string> drawnLines(const runtime::Label& label) = 0;
    // Runs `open`, which opens a real box (no presenter installed), and presses the key in
    // the box once it is on the screen; what the box showed.
    virtual RealBox answerRealBox(const std::function<void()>& open, Key key) = 0;
    // Whether the window is the program's active window.
    virtual bool isActive(const runtime::Form& form) = 0;
};

Driver& driver();

} // namespace clearmark::testing_support
