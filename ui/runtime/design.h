#pragma once

// What a window's design says of the window and its controls. Positions and sizes are in
// twips (1/1440 inch) within the window's client area; window sizes are client-area sizes.
#include <cstdint>
#include <optional>
#include <span>

namespace clearmark::runtime {

enum class ControlKind { CommandButton, TextBox, Label, OptionButton, CheckBox, Picture, MenuItem };

// The desktop's own colours that a design names; each implementation takes them from its
// system's settings.
enum class SystemColor {
    ButtonFace,          // the face of buttons and dialog windows
    InactiveCaptionText, // the text of an inactive window's title bar
};

// A fixed colour, 0xRRGGBB.
using Rgb = std::uint32_t;

struct FontDesign {
    double points = 8.25; // MS Sans Serif, the window font unless a control names its own
    bool bold = false;
};

enum class Visibility { Shown, Hidden };
enum class Alignment { Left, Centred };

// One row of a window's control table.
struct ControlDesign {
    const char* name;
    ControlKind kind;
    const char* caption; // a text box's initial text
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    FontDesign font = {};
    Visibility visibility = Visibility::Shown;
    Alignment alignment = Alignment::Left;
    std::optional<Rgb> foreColor = {}; // none: the system's text colour
    // A read-only text box shows what the window writes; the user can select and copy its
    // text but not change it, and the Tab key passes it by.
    bool readOnly = false;
    // A disabled control takes no click and no key, and Tab passes it by, until the window
    // enables it.
    bool enabled = true;
};

// A straight line drawn on the window beneath its controls; an element of a line array.
struct LineDesign {
    const char* name;
    int index;
    int x1;
    int y1;
    int x2;
    int y2;
    Rgb color;
    int widthPixels;
};

// A shortcut key of a menu entry: Ctrl with a letter (`Shortcut{'N'}` for Ctrl+N), which
// chooses the entry from anywhere in its window.
struct Shortcut {
    char letter;
};

// An entry of a drop-down menu; a single '&' in its caption marks its access key ("&New").
struct MenuEntryDesign {
    const char* name;
    const char* caption;
    std::optional<Shortcut> shortcut = {};
};

// A drop-down menu of the window's menu bar; its caption may mark an access key too ("&File").
struct MenuDesign {
    const char* name;
    const char* caption;
    std::span<const MenuEntryDesign> entries;
};

enum class Border { Sizable, FixedDialog };

// The screen position of the client area's top-left corner.
struct StartPosition {
    int left;
    int top;
};

struct WindowDesign {
    const char* name;
    const char* caption;
    int clientWidth;
    int clientHeight;
    std::span<const ControlDesign> controls; // in stored order: creation and stacking
    Border border = Border::Sizable;         // sizable: minimise and close; dialog: close only
    std::optional<StartPosition> start = {}; // none: where the system places a new window
    SystemColor backColor = SystemColor::ButtonFace;
    bool inTaskBar = true;
    std::span<const MenuDesign> menus = {}; // the menu bar, left to right; none: no menu bar
    std::span<const LineDesign> lines = {};
    // The buttons that Enter and Esc press where the focused control does not take the key.
    const char* defaultButton = nullptr;
    const char* cancelButton = nullptr;
};

} // namespace clearmark::runtime
