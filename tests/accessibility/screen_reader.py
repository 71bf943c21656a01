#!/usr/bin/python3
"""Reads the running program through the AT-SPI accessibility bus, as a screen reader does:
each window's role and name, each control's role, name and whether it is showing, the
result after a calculation, and the message boxes with their captions, texts and buttons.
Drives it through the same bus (the controls' own actions and editable texts).

    screen_reader.py [--print]

Run with the program started on an X display whose session bus has the accessibility bus;
scripts/test-accessibility sets that up. --print shows what is read of each window."""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

PRINT = "--print" in sys.argv[1:]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def wait_for(find, what, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    failures.append(what)
    print("FAIL:", what)
    return None


def children(node):
    # A child that goes while it is read (a box closing) comes back as None: it is gone.
    found = (node.get_child_at_index(i) for i in range(node.get_child_count()))
    return [child for child in found if child is not None]


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def program():
    desktop = Atspi.get_desktop(0)
    for app in children(desktop):
        if app.get_name() == "clearmark":
            return app
    return None


def top_level(role, name):
    app = program()
    if app is None:
        return None
    for window in children(app):
        if window.get_role_name() == role and window.get_name() == name and showing(window):
            return window
    return None


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def find(node, role, name):
    for child in descendants(node):
        if child.get_role_name() == role and child.get_name() == name:
            return child
    return None


def press(node):
    names = [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]
    Atspi.Action.do_action(node, names.index("Press" if "Press" in names else names[0]))


def text_of(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def controls(window):
    """What a screen reader meets in the window: (role, name, showing) of every control,
    with a text box's text; the client area's own filler and the menus' containers aside."""
    read = []
    for node in descendants(window):
        role = node.get_role_name()
        if role in ("filler", "panel", "popup menu", "menu bar"):
            continue
        entry = (role, node.get_name(), showing(node))
        if role == "text":
            entry += (text_of(node),)
        read.append(entry)
    return sorted(read)


def expect_window(role, name, expected):
    window = wait_for(lambda: top_level(role, name), f"no {role} named {name!r}")
    if window is None:
        return None
    read = controls(window)
    if PRINT:
        print(f"{role} {name!r}")
        for entry in read:
            print("   ", entry)
    for entry in sorted(expected):
        check(entry in read, f"{name!r}: {entry} not read; read {read}")
    for entry in read:
        check(entry in expected, f"{name!r}: {entry} read, not expected")
    return window


def expect_box(caption, text, buttons, press_button):
    box = wait_for(lambda: top_level("alert", caption), f"no alert named {caption!r}")
    if box is None:
        return
    labels = [n.get_name() for n in descendants(box) if n.get_role_name() == "label"]
    shown = sorted(n.get_name() for n in descendants(box) if n.get_role_name() == "push button")
    if PRINT:
        print(f"alert {caption!r}: text {labels}, buttons {shown}")
    check(text in labels, f"box {caption!r}: text {text!r} not read; read {labels}")
    check(shown == sorted(buttons), f"box {caption!r}: buttons {shown}, not {buttons}")
    press(find(box, "push button", press_button))
    wait_for(lambda: top_level("alert", caption) is None, f"box {caption!r} did not close")


MAIN = "Dorvan's Clearmark"
HINT = "Enter values in Millimeters or use the Converter"


def main_controls(new_shim_shown, gap="", old="", desired="", new=""):
    return [
        ("label", HINT, True),
        ("label", "Exhaust Average Spec", True),
        ("label", "Intake Average Spec", True),
        ("label", "New Shim Size (approx)", new_shim_shown),
        ("label", "Original Shim Size", True),
        ("label", "Desired Gap Specification", True),
        ("label", "Measured Clearance Gap", True),
        ("push button", "EX", True),
        ("push button", "IN", True),
        ("push button", "Converter", True),
        ("push button", "Reset", True),
        ("push button", "Calculate", True),
        ("push button", "Exit", True),
        ("text", "Measured Clearance Gap", True, gap),
        ("text", "Original Shim Size", True, old),
        ("text", "Desired Gap Specification", True, desired),
        ("text", "New Shim Size (approx)", new_shim_shown, new),
        ("menu item", "Tools", True),
        ("menu item", "Valve Sheet...", False),
        ("menu item", "Shim Box...", False),
        ("menu item", "Help", True),
        ("menu item", "About", False),
        ("menu item", "Help", False),
    ]


def run():
    main = expect_window("frame", MAIN, main_controls(new_shim_shown=False))
    if main is None:
        return

    # The typical calculation: the three values typed, Calculate, the box about shim sizes.
    for name, value in (("Measured Clearance Gap", "0.20"), ("Original Shim Size", "2.45")):
        Atspi.EditableText.set_text_contents(find(main, "text", name), value)
    press(find(main, "push button", "IN"))
    press(find(main, "push button", "Calculate"))
    expect_box(
        "Please Adjust your new shim size as follows (for Triumph Motorcycles):",
        "Triumph shims come in 0.025mm increments from 2.00 to 3.20mm in 0.025mm increments. "
        "Adjust the approx. size above accordingly to match the available shim sizes.",
        ["OK"],
        "OK",
    )
    expect_window(
        "frame",
        MAIN,
        main_controls(True, gap="0.20", old="2.45", desired="0.175", new="2.475"),
    )

    press(find(main, "push button", "Converter"))
    lead = "Enter the measurement below, then check which method"
    expect_window(
        "frame",
        "Conversion Form",
        [
            ("label", lead, True),
            ("text", lead, True, ""),
            ("radio button", "MM to Inches", True),
            ("radio button", "Inches to MM", True),
            ("push button", "Convert", True),
            ("push button", "Reset", True),
            ("push button", "Copy to Clipboard  and exit", True),
        ],
    )

    menu = find(main, "menu bar", "")
    press(find(menu, "menu item", "Help").get_child_at_index(0).get_child_at_index(1))
    expect_window("frame", "How To Use Calculator", HELP)

    press(find(menu, "menu item", "Help").get_child_at_index(0).get_child_at_index(0))
    expect_window("dialog", "About Clearmark", ABOUT)

    press(find(menu, "menu item", "Tools").get_child_at_index(0).get_child_at_index(0))
    read_valve_sheet()

    press(find(menu, "menu item", "Tools").get_child_at_index(0).get_child_at_index(1))
    read_shim_box()

    # Exit asks first; Cancel keeps the program.
    press(find(main, "push button", "Exit"))
    expect_box("EXIT Program", "Are you sure you want to Exit program", ["OK", "Cancel"], "Cancel")
    check(top_level("frame", MAIN) is not None, "the main window went with Cancel")


# The worked Triumph example: gap, shim, then the plan and the new gap read back.
TWIN = [
    ("Cylinder 1 intake 1", "0.100", "2.450", "fit 2.375 from cylinder 2 intake 1", "0.175"),
    ("Cylinder 1 intake 2", "0.180", "2.500", "keep", "0.180"),
    ("Cylinder 1 exhaust 1", "0.320", "2.400", "fit 2.450 from cylinder 1 intake 1", "0.270"),
    ("Cylinder 1 exhaust 2", "0.240", "2.550", "buy 2.525", "0.265"),
    ("Cylinder 2 intake 1", "0.230", "2.375", "fit 2.450 from cylinder 2 exhaust 1", "0.155"),
    ("Cylinder 2 intake 2", "0.150", "2.600", "keep", "0.150"),
    ("Cylinder 2 exhaust 1", "0.210", "2.450", "fit 2.400 from cylinder 1 exhaust 1", "0.260"),
    ("Cylinder 2 exhaust 2", "0.280", "2.425", "keep", "0.280"),
]


def read_valve_sheet():
    sheet = wait_for(lambda: top_level("frame", "Valve Sheet"), "no frame named 'Valve Sheet'")
    if sheet is None:
        return
    read = controls(sheet)
    if PRINT:
        print("frame 'Valve Sheet'")
        for entry in read:
            print("   ", entry)
    for entry in [
        ("text", "Cylinders", True, "2"),
        ("text", "Intake gap from", True, "0.15"),
        ("text", "Exhaust aim", True, "0.275"),
        ("text", "Shim step", True, "0.025"),
        ("text", "Spare shims", True, ""),
        ("radio button", "Millimeters", True),
        ("radio button", "Inches", True),
        ("check box", "Leave valves in range alone", True),
        ("text", "Cylinder 2 exhaust 2 gap", True, ""),
        ("text", "Cylinder 2 exhaust 2 new gap", True, ""),
        ("text", "Buy", True, ""),
        ("text", "Bike", True, ""),
        ("text", "Odometer", True, ""),
        ("push button", "Plan", True),
        ("push button", "Fitted", True),
        ("push button", "Close", True),
        ("menu item", "File", True),
    ]:
        check(entry in read, f"'Valve Sheet': {entry} not read")
    dates = [e for e in read if e[0] == "text" and e[1] == "Date"]
    check(len(dates) == 1 and len(dates[0][3]) == 10 and dates[0][3][4] == "-",
          f"'Valve Sheet': the date read as {dates}")
    for entry in ["New", "Open...", "Save", "Save As...", "Print...", "Print Blank Sheet...",
                  "Next Check", "Shim Box...", "Close"]:
        check(("menu item", entry, False) in read, f"'Valve Sheet': File menu entry {entry!r} not read")
    fitted = find(sheet, "push button", "Fitted")
    check(fitted is not None and not fitted.get_state_set().contains(Atspi.StateType.ENABLED),
          "'Valve Sheet': Fitted is not disabled before a plan")
    rows = [e for e in read if e[0] == "text" and e[1].startswith("Cylinder ") and e[2]]
    check(len(rows) == 4 * len(TWIN), f"'Valve Sheet': {len(rows)} row boxes showing, not 32")

    def box(name):
        return find(sheet, "text", name)

    def row_showing(name):
        found = box(name)
        return found is not None and showing(found)

    # The rows follow a count set from outside, as they follow the user's typing.
    Atspi.EditableText.set_text_contents(box("Cylinders"), "3")
    wait_for(lambda: row_showing("Cylinder 3 exhaust 2 gap"),
             "the rows did not follow Cylinders set to 3 through the accessibility interface")
    Atspi.EditableText.set_text_contents(box("Cylinders"), "2")
    wait_for(lambda: not row_showing("Cylinder 3 intake 1 gap"),
             "the rows did not follow Cylinders set back to 2")

    Atspi.EditableText.set_text_contents(box("Spare shims"), "2.475")
    for valve, gap, shim, _, _ in TWIN:
        Atspi.EditableText.set_text_contents(box(valve + " gap"), gap)
        Atspi.EditableText.set_text_contents(box(valve + " shim"), shim)
    press(find(sheet, "push button", "Plan"))
    wait_for(lambda: text_of(box("Buy")), "the sheet planned nothing")
    for valve, _, _, plan, new_gap in TWIN:
        check(text_of(box(valve + " plan")) == plan, f"{valve} plan: {text_of(box(valve + ' plan'))!r}")
        check(text_of(box(valve + " new gap")) == new_gap, f"{valve} new gap read wrong")
    check(text_of(box("Buy")) == "1 \u00d7 2.525", f"Buy: {text_of(box('Buy'))!r}")
    check(text_of(box("Left over")) == "2.475, 2.550", f"Left over: {text_of(box('Left over'))!r}")
    check(fitted.get_state_set().contains(Atspi.StateType.ENABLED), "Fitted not enabled by the plan")
    # The title marks the unsaved changes as the desktop does.
    check(sheet.get_name() == "Valve Sheet*", f"the sheet's title with changes: {sheet.get_name()!r}")

    Atspi.EditableText.set_text_contents(box("Cylinder 2 exhaust 1 shim"), "2.4x")
    press(find(sheet, "push button", "Plan"))
    expect_box("Valve Sheet", "Cylinder 2 exhaust 1 shim is not a number", ["OK"], "OK")
    wait_for(lambda: text_of(box("Buy")) == "", "the plan stayed after bad input")
    press(find(sheet, "push button", "Close"))
    expect_box("Valve Sheet", "Save changes to Valve Sheet?", ["Yes", "No", "Cancel"], "No")
    wait_for(lambda: top_level("frame", "Valve Sheet*") is None, "the sheet did not close")


SHIMS = "Shims in the box, in millimeters:"


# The shim box, empty at first: the sizes set from outside are counted, saved and closed.
def read_shim_box():
    window = expect_window(
        "frame",
        "Shim Box",
        [
            ("label", SHIMS, True),
            ("text", SHIMS, True, ""),
            ("text", "Shims counted", True, "No shims"),
            ("push button", "Save", True),
            ("push button", "Close", True),
            # Where the box may be lost: shown in the browser only.
            ("label", "", False),
        ],
    )
    if window is None:
        return
    Atspi.EditableText.set_text_contents(find(window, "text", SHIMS), "2.45 2.40 2.45")
    counted = "3 shims: 1 \u00d7 2.400, 2 \u00d7 2.450"
    wait_for(lambda: text_of(find(window, "text", "Shims counted")) == counted,
             "the count did not follow the sizes set through the accessibility interface")
    press(find(window, "push button", "Save"))
    press(find(window, "push button", "Close"))
    wait_for(lambda: top_level("frame", "Shim Box") is None, "the shim box did not close")


# The help text: its paragraphs, each followed by the run of blanks that ends its line.
HELP_TEXT = "".join(
    paragraph + " " * blanks
    for paragraph, blanks in (
        ("Enter the measured valve clearance (in Millimeters) in the Measured gap box.", 46),
        ("Enter the measured Original shim width into the Original Shim box.", 84),
        ("(These values may also be pasted from the converter)", 79),
        (
            "Selecting either the Intake (0.175mm) or Exhaust (0.275mm) default buttons will "
            "enter the default AVERAGE values for Triumph Bonneville, Bonneville America, "
            "T-100 or Speedmaster specifications.",
            35,
        ),
        (
            "This value can be changed for averages you wish or for other makes or models of "
            "motorcycle valve shim calculations.",
            0,
        ),
    )
)
HELP = [("label", HELP_TEXT, True)]
ABOUT = [
    ("image", "", True),
    ("label", "Clearmark", True),
    ("label", "Version 1.0.0", True),
    (
        "label",
        "This program will determine which size shim you need in order to get the proper "
        "valve clearance. You can use the default average of 0.175 for intake and 0.275 for "
        "exhaust OR you can enter you own desired end gap This program may also be used for "
        "other makes, but use at your own risk.",
        True,
    ),
    (
        "label",
        "Warning: Use at your own risk! I accept no liability or fault for errors contained "
        "or damage to any parts by use of this application. If you are not experienced "
        "enough to do a valve shim replacement, do not attempt to do so. You have been "
        "warned!",
        True,
    ),
    ("push button", "OK", True),
    ("push button", "System Info...", True),
]

run()
if failures:
    print(f"{len(failures)} failures")
    sys.exit(1)
print("every window, control and box read as expected")
