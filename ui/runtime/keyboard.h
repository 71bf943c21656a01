#pragma once

// The rules of the keyboard and of captions that every implementation applies with its
// platform's own machinery: the order Tab takes, where it stops, which button Enter and Esc
// press, the access key a caption marks and the paragraphs of a label. Decided here once.
#include "runtime/design.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace clearmark::runtime {

class ControlPeer;

// A control the keyboard can reach, in the window's keyboard order.
struct KeyStop {
    ControlPeer* control;
    int tabIndex;
    // A read-only box: the user may click into it to select and copy, but Tab passes it by
    // (Tab from it goes on from its place).
    bool passedBy;
};
using KeyboardOrder = std::vector<KeyStop>;

// The windowed controls of a design (every kind but labels and menu entries), by tab index,
// in stored order among equal indexes. `peers` holds the design's controls' peers in stored
// order.
KeyboardOrder keyboardOrder(std::span<const ControlDesign> designs,
                            std::span<ControlPeer* const> peers);

// Whether Tab stops at the control now: not at a box it passes by nor at a disabled control,
// and of the window's option buttons (one group) only at the selected one while it is
// enabled, else the first enabled one. Whether the control can take the focus at all (shown,
// made on the screen) is the platform's to say.
bool takesTab(const KeyboardOrder& order, const ControlPeer& control);

// The next control Tab (forward) or Shift+Tab reaches from `from` (null: from outside the
// window), among those `canFocus` accepts; null when none can.
template <class CanFocus>
ControlPeer* nextTabStop(const KeyboardOrder& order, const ControlPeer* from, bool forward,
                         const CanFocus& canFocus);

// Whether the user can use the control now (not disabled by its design or its window).
bool isEnabled(const ControlPeer& control);

// The control that gets the keyboard back when its window is active again (restored, a box
// closed, another window left): the one that last held it while it can take it, else the
// first Tab stop that can; null for none.
template <class CanFocus>
ControlPeer* focusToGiveBack(const KeyboardOrder& order, ControlPeer* last,
                             const CanFocus& canFocus) {
    if (last != nullptr && isEnabled(*last) && canFocus(*last))
        return last;
    return nextTabStop(order, nullptr, true, canFocus);
}

enum class WindowKey { Enter, Escape };
// The button the key presses when the focused control does not take it itself: Enter the
// focused command button, else the default button; Esc the cancel button. Null for none, and
// for a disabled button.
ControlPeer* buttonForKey(WindowKey key, ControlPeer* focused, ControlPeer* defaultButton,
                          ControlPeer* cancelButton);

// The access key that a single '&' marks in a caption ("&System Info..." -> 's'), lower
// case; "&&" stands for one ampersand.
std::optional<char> accessKeyOf(std::string_view caption);
// The caption as it reads, without the marks ("&System Info..." -> "System Info...").
std::string withoutAccessKeyMarks(std::string_view caption);

// The menu entry that Ctrl with the letter (either case) chooses: of the window's entries
// that are shown and enabled, the first, in the menus' order, whose design names that
// shortcut; null for none. `entries` holds the peers of the design's entries in that order.
ControlPeer* entryForShortcut(std::span<const MenuDesign> menus,
                              std::span<ControlPeer* const> entries, char letter);
// The shortcut as a menu shows it beside its entry ("Ctrl+N").
std::string shortcutText(Shortcut shortcut);

// A label's caption in paragraphs: a run of two or more blanks ends one, and the text after it
// begins a new line. A caption without such runs is one paragraph.
std::vector<std::string_view> paragraphsOf(std::string_view caption);

template <class CanFocus>
ControlPeer* nextTabStop(const KeyboardOrder& order, const ControlPeer* from, bool forward,
                         const CanFocus& canFocus) {
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t at = forward ? -1 : count;
    for (std::ptrdiff_t i = 0; i < count; ++i)
        if (order[static_cast<std::size_t>(i)].control == from)
            at = i;
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        at = (at + (forward ? 1 : count - 1)) % count;
        ControlPeer* candidate = order[static_cast<std::size_t>(at)].control;
        if (takesTab(order, *candidate) && canFocus(*candidate))
            return candidate;
    }
    return nullptr;
}

} // namespace clearmark::runtime
