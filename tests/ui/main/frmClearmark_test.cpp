// The main window's behaviour: the shim calculation, the defaults, Reset, the keyboard.
#include "convert/frmConvert.h"
#include "main/frmClearmark.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"

#include <ostream>
#include <string>
#include <vector>

namespace clearmark {
namespace {

using runtime::MsgAnswer;
using runtime::MsgBoxRequest;
using testing_support::Key;

const MsgBoxRequest& kShimSizesBox = expected::kShimSizes;
const MsgBoxRequest& kBadDataBox = expected::kBadData;

// What the control shows: a text box's text, the caption of the others.
std::string captionOf(const runtime::Form& form, const runtime::Control& control) {
    using Kind = runtime::ControlKind;
    switch (control.kind()) {
    case Kind::TextBox:
        return form.control<runtime::TextBox>(control.name()).text();
    case Kind::Label:
        return form.control<runtime::Label>(control.name()).caption();
    case Kind::CommandButton:
        return form.control<runtime::CommandButton>(control.name()).caption();
    case Kind::OptionButton:
        return form.control<runtime::OptionButton>(control.name()).caption();
    case Kind::CheckBox:
        return form.control<runtime::CheckBox>(control.name()).caption();
    case Kind::MenuItem:
        return form.control<runtime::MenuItem>(control.name()).caption();
    case Kind::Picture:
        break;
    }
    return {};
}

const char* const kInputs[] = {"txtGap", "txtOldShim", "txtSpec"};
const char* const kAllBoxes[] = {"txtGap", "txtOldShim", "txtSpec", "txtNewShim"};

class MainWindow : public testing_support::WithMainWindow {
protected:
    bool resultShown() const {
        return textBox(*main, "txtNewShim").visible() && label(*main, "lblNewShim").visible();
    }
    bool resultHidden() const {
        return !textBox(*main, "txtNewShim").visible() && !label(*main, "lblNewShim").visible();
    }
    std::string text(const char* box) const { return textBox(*main, box).text(); }
    void calculateWith(std::string_view gap, std::string_view oldShim, std::string_view desired) {
        enter(*main, "txtGap", gap);
        enter(*main, "txtOldShim", oldShim);
        enter(*main, "txtSpec", desired);
        click(*main, "cmdCalculate");
    }
};

TEST_F(MainWindow, TypicalIntakeCalculationEndToEnd) {
    bool resultVisibleBehindBox = false;
    boxes.whileShown([&](const MsgBoxRequest&) {
        resultVisibleBehindBox = resultShown() && text("txtNewShim") == "2.475";
    });
    type(*main, "txtGap", "0.20");
    type(*main, "txtOldShim", "2.45");
    click(*main, "cmdIntake");
    EXPECT_EQ(text("txtSpec"), "0.175");
    click(*main, "cmdCalculate");

    EXPECT_EQ(text("txtNewShim"), "2.475");
    EXPECT_TRUE(resultShown());
    EXPECT_TRUE(resultVisibleBehindBox);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kShimSizesBox);
    EXPECT_EQ(programEnds, 0);
}

TEST_F(MainWindow, ExhaustCalculationRoundsAwayBinaryNoise) {
    type(*main, "txtGap", "0.30");
    type(*main, "txtOldShim", "2.30");
    click(*main, "cmdExhaust");
    click(*main, "cmdCalculate");
    EXPECT_EQ(text("txtNewShim"), "2.325");
    EXPECT_TRUE(resultShown());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kShimSizesBox);
}

// Typed on a numeric keypad whose decimal key gives a comma; the result is written with a
// point.
TEST_F(MainWindow, DecimalCommasReadAsPoints) {
    type(*main, "txtGap", "0,20");
    type(*main, "txtOldShim", "2,45");
    type(*main, "txtSpec", ",175");
    click(*main, "cmdCalculate");
    EXPECT_EQ(text("txtNewShim"), "2.475");
    EXPECT_TRUE(resultShown());
}

TEST_F(MainWindow, ALongResultIsShownFromItsStart) {
    type(*main, "txtGap", "0.1234567891234");
    EXPECT_GT(input().firstVisibleCharacter(textBox(*main, "txtGap")), 0);
    type(*main, "txtOldShim", "2.5");
    type(*main, "txtSpec", "0.2");
    click(*main, "cmdCalculate");
    ASSERT_EQ(text("txtNewShim"), "2.4234567891234");
    EXPECT_EQ(input().firstVisibleCharacter(textBox(*main, "txtNewShim")), 0);
}

TEST_F(MainWindow, IntakeThenExhaustLeavesTheExhaustDefault) {
    type(*main, "txtSpec", "9.99");
    click(*main, "cmdIntake");
    EXPECT_EQ(text("txtSpec"), "0.175");
    click(*main, "cmdExhaust");
    EXPECT_EQ(text("txtSpec"), "0.275");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(resultHidden());
}

TEST_F(MainWindow, EmptyInputShowsBadDataAndHidesAnEarlierResult) {
    for (const char* empty : kInputs) {
        SCOPED_TRACE(empty);
        calculateWith("0.20", "2.45", "0.175");
        ASSERT_TRUE(resultShown());
        boxes.clear();

        bool resultStillShownDuringBox = false;
        boxes.whileShown([&](const MsgBoxRequest&) { resultStillShownDuringBox = resultShown(); });
        textBox(*main, empty).setText("");
        click(*main, "cmdCalculate");
        boxes.whileShown(nullptr);

        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], kBadDataBox);
        EXPECT_TRUE(resultStillShownDuringBox); // hidden only after the box is closed
        EXPECT_TRUE(resultHidden());
        EXPECT_EQ(text("txtNewShim"), "");
        boxes.clear();
    }
}

TEST_F(MainWindow, AllInputsEmptyAtStartShowsBadData) {
    click(*main, "cmdCalculate");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kBadDataBox);
    EXPECT_TRUE(resultHidden());
}

struct HostileCase {
    const char* name;
    std::string gap;
    std::string oldShim;
    std::string desired;
    const char* result; // nullptr: the "Bad data" box
};

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

class MainWindowHostileInput : public MainWindow,
                               public ::testing::WithParamInterface<HostileCase> {};

TEST_P(MainWindowHostileInput, NeverEndsTheProgram) {
    const HostileCase& c = GetParam();
    calculateWith("0.20", "2.45", "0.175"); // a good result first
    boxes.clear();
    calculateWith(c.gap, c.oldShim, c.desired);
    ASSERT_EQ(boxes.shown().size(), 1u);
    if (c.result == nullptr) {
        EXPECT_EQ(boxes.shown()[0], kBadDataBox);
        EXPECT_TRUE(resultHidden());
        EXPECT_EQ(text("txtNewShim"), "");
    } else {
        EXPECT_EQ(boxes.shown()[0], kShimSizesBox);
        EXPECT_EQ(text("txtNewShim"), c.result);
        EXPECT_TRUE(resultShown());
    }
    // The inputs keep what the user typed.
    EXPECT_EQ(text("txtGap"), c.gap);
    EXPECT_EQ(text("txtOldShim"), c.oldShim);
    EXPECT_EQ(text("txtSpec"), c.desired);
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->visible());
}

const std::string kHundredThousandDigits(100'000, '9');

INSTANTIATE_TEST_SUITE_P(
    Texts, MainWindowHostileInput,
    ::testing::Values(HostileCase{"letters", "abc", "2.45", "0.175", nullptr},
                      HostileCase{"blanks", "0.20", "   ", "0.175", nullptr},
                      HostileCase{"loneMinus", "0.20", "2.45", "-", nullptr},
                      HostileCase{"lonePoint", ".", "2.45", "0.175", nullptr},
                      HostileCase{"twoPoints", "0.20", "1.2.3", "0.175", nullptr},
                      HostileCase{"overflow", "1e999", "2.45", "0.175", nullptr},
                      HostileCase{"negativeOverflow", "0.20", "-1e999", "0.175", nullptr},
                      HostileCase{"nan", "0.20", "2.45", "nan", nullptr},
                      HostileCase{"inf", "inf", "2.45", "0.175", nullptr},
                      HostileCase{"hex", "0.20", "0x10", "0.175", nullptr},
                      HostileCase{"twoDecimalMarks", "0.20", "2,4.5", "0.175", nullptr},
                      HostileCase{"arabicDigits", "\xd9\xa0.\xd9\xa2", "2.45", "0.175", nullptr},
                      HostileCase{"fullwidthDigit", "0.20", "\xef\xbc\x92", "0.175", nullptr},
                      HostileCase{"hugeNumber", "0.20", kHundredThousandDigits, "0.175", nullptr},
                      // D = S - G overflows, then N = O - D overflows.
                      HostileCase{"differenceOverflows", "-1.7e308", "2.45", "1.7e308", nullptr},
                      HostileCase{"newShimOverflows", "0", "-1.7e308", "1.7e308", nullptr},
                      // Accepted forms: blanks around, a tiny value that reads as zero, exponents.
                      HostileCase{"blanksAround", " \t0.20 ", "2.45\t", " 0.175", "2.475"},
                      HostileCase{"underflowReadsAsZero", "1e-400", "2.45", "0", "2.45"},
                      HostileCase{"exponents", "2E-1", "245e-2", "+.175", "2.475"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, ResetClearsInputsAndResult) {
    calculateWith("0.20", "2.45", "0.175");
    ASSERT_TRUE(resultShown());
    boxes.clear();
    click(*main, "cmdReset");
    for (const char* name : kAllBoxes)
        EXPECT_EQ(text(name), "") << name;
    EXPECT_TRUE(resultHidden());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, TypingAfterAResultKeepsTheResult) {
    calculateWith("0.20", "2.45", "0.175");
    type(*main, "txtGap", "5");
    EXPECT_EQ(text("txtGap"), "0.205");
    EXPECT_TRUE(resultShown());
    EXPECT_EQ(text("txtNewShim"), "2.475");
}

TEST_F(MainWindow, InitialState) {
    EXPECT_EQ(main->caption(), "Dorvan's Clearmark");
    EXPECT_TRUE(main->visible());
    EXPECT_TRUE(resultHidden());
    for (const char* name : kAllBoxes)
        EXPECT_EQ(text(name), "") << name;
    EXPECT_EQ(focused(*main), "cmdExit");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(programEnds, 0);
}

// The controls as the user meets them, written down independently of the window's table.
TEST_F(MainWindow, ControlsCarryTheirCaptionsAndStartShownOrHidden) {
    using Kind = runtime::ControlKind;
    struct Row {
        const char* name;
        Kind kind;
        const char* caption;
        bool visible;
    };
    const Row rows[] = {
        {"cmdExhaust", Kind::CommandButton, "EX", true},
        {"cmdIntake", Kind::CommandButton, "IN", true},
        {"cmdConverter", Kind::CommandButton, "Converter", true},
        {"txtNewShim", Kind::TextBox, "", false},
        {"txtOldShim", Kind::TextBox, "", true},
        {"txtSpec", Kind::TextBox, "", true},
        {"txtGap", Kind::TextBox, "", true},
        {"cmdReset", Kind::CommandButton, "Reset", true},
        {"cmdCalculate", Kind::CommandButton, "Calculate", true},
        {"cmdExit", Kind::CommandButton, "Exit", true},
        {"lblConvert", Kind::Label, "Enter values in Millimeters or use the Converter", true},
        {"lblExhaust", Kind::Label, "Exhaust Average Spec", true},
        {"lblIntake", Kind::Label, "Intake Average Spec", true},
        {"lblNewShim", Kind::Label, "New Shim Size (approx)", false},
        {"lblOldShim", Kind::Label, "Original Shim Size", true},
        {"lblSpec", Kind::Label, "Desired Gap Specification", true},
        {"lblGap", Kind::Label, "Measured Clearance Gap", true},
        // The menus' entries, Tools then Help, in order.
        {"mnuValveSheet", Kind::MenuItem, "Valve Sheet...", true},
        {"mnuShimBox", Kind::MenuItem, "Shim Box...", true},
        {"mnuAbout", Kind::MenuItem, "About", true},
        {"mnuHelp2", Kind::MenuItem, "Help", true},
    };
    const std::vector<runtime::Control> controls = main->controls();
    ASSERT_EQ(controls.size(), std::size(rows));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Row& row = rows[i];
        const runtime::Control& control = controls[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(control.name(), row.name);
        EXPECT_EQ(control.kind(), row.kind);
        EXPECT_EQ(control.visible(), row.visible);
        EXPECT_EQ(captionOf(*main, control), row.caption);
    }
}

TEST_F(MainWindow, TabKeyFollowsTheTabIndexes) {
    ASSERT_EQ(focused(*main), "cmdExit");
    const std::vector<std::string> round = {"txtGap",       "txtOldShim", "txtSpec",
                                            "cmdCalculate", "cmdReset",   "cmdConverter",
                                            "cmdIntake",    "cmdExhaust", "cmdExit"};
    EXPECT_EQ(focusAfterEach(*main, Key::Tab, 9), round);
    // Shift+Tab walks the same round backwards.
    EXPECT_EQ(
        focusAfterEach(*main, Key::ShiftTab, 9),
        (std::vector<std::string>{"cmdExhaust", "cmdIntake", "cmdConverter", "cmdReset",
                                  "cmdCalculate", "txtSpec", "txtOldShim", "txtGap", "cmdExit"}));

    // The result box joins the order while it is shown, and leaves it after Reset.
    calculateWith("0.20", "2.45", "0.175");
    ASSERT_TRUE(tabTo(*main, "cmdReset"));
    EXPECT_EQ(focusAfterEach(*main, Key::Tab, 2),
              (std::vector<std::string>{"txtNewShim", "cmdConverter"}));
    EXPECT_EQ(focusAfterEach(*main, Key::ShiftTab, 2),
              (std::vector<std::string>{"txtNewShim", "cmdReset"}));
    press(*main, Key::Space); // Reset, from the keyboard
    ASSERT_TRUE(resultHidden());
    ASSERT_EQ(focused(*main), "cmdReset");
    EXPECT_EQ(focusAfterEach(*main, Key::Tab, 1), (std::vector<std::string>{"cmdConverter"}));
}

// Enter on a focused command button presses it, as Space does; the window has no default
// button, so Enter elsewhere presses nothing.
struct ButtonKeyCase {
    const char* name;
    const char* button;
    Key key;
};

void PrintTo(const ButtonKeyCase& c, std::ostream* out) {
    *out << c.name;
}

class MainWindowButtonKeys : public MainWindow,
                             public ::testing::WithParamInterface<ButtonKeyCase> {};

TEST_P(MainWindowButtonKeys, PressTheFocusedButton) {
    const ButtonKeyCase& c = GetParam();
    enter(*main, "txtGap", "0.20");
    enter(*main, "txtOldShim", "2.45");
    enter(*main, "txtSpec", "0.2");
    const std::string button = c.button;
    if (button == "cmdExit")
        boxes.answerNext(MsgAnswer::Cancel);
    ASSERT_TRUE(tabTo(*main, c.button));
    press(*main, c.key);

    const std::vector<MsgBoxRequest> expectedBoxes =
        button == "cmdCalculate" ? std::vector{kShimSizesBox}
        : button == "cmdExit"    ? std::vector{expected::kExit}
                                 : std::vector<MsgBoxRequest>{};
    EXPECT_EQ(boxes.shown(), expectedBoxes);
    EXPECT_EQ(text("txtNewShim"), button == "cmdCalculate" ? "2.45" : "");
    EXPECT_EQ(resultShown(), button == "cmdCalculate");
    EXPECT_EQ(text("txtSpec"), button == "cmdIntake"    ? "0.175"
                               : button == "cmdExhaust" ? "0.275"
                               : button == "cmdReset"   ? ""
                                                        : "0.2");
    EXPECT_EQ(text("txtGap"), button == "cmdReset" ? "" : "0.20");
    const auto* conv = runtime::forms().find<frmConvert>();
    ASSERT_NE(conv, nullptr);
    EXPECT_EQ(conv->visible(), button == "cmdConverter");
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->visible());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MainWindowButtonKeys,
    ::testing::Values(ButtonKeyCase{"EnterOnCalculate", "cmdCalculate", Key::Enter},
                      ButtonKeyCase{"SpaceOnCalculate", "cmdCalculate", Key::Space},
                      ButtonKeyCase{"EnterOnIntake", "cmdIntake", Key::Enter},
                      ButtonKeyCase{"SpaceOnIntake", "cmdIntake", Key::Space},
                      ButtonKeyCase{"EnterOnExhaust", "cmdExhaust", Key::Enter},
                      ButtonKeyCase{"SpaceOnExhaust", "cmdExhaust", Key::Space},
                      ButtonKeyCase{"EnterOnReset", "cmdReset", Key::Enter},
                      ButtonKeyCase{"SpaceOnReset", "cmdReset", Key::Space},
                      ButtonKeyCase{"EnterOnConverter", "cmdConverter", Key::Enter},
                      ButtonKeyCase{"SpaceOnConverter", "cmdConverter", Key::Space},
                      ButtonKeyCase{"EnterOnExit", "cmdExit", Key::Enter},
                      ButtonKeyCase{"SpaceOnExit", "cmdExit", Key::Space}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, EnterOnExitConfirmedEndsTheProgram) {
    ASSERT_EQ(focused(*main), "cmdExit");
    boxes.answerNext(MsgAnswer::OK);
    press(*main, Key::Enter);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], expected::kExit);
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(loadedWindows(), "");
}

TEST_F(MainWindow, EnterAndEscInATextBoxPressNothing) {
    for (const Key key : {Key::Enter, Key::Escape}) {
        for (const char* box : kInputs) {
            SCOPED_TRACE(std::string(box) + (key == Key::Enter ? " Enter" : " Esc"));
            enter(*main, "txtGap", "0.20");
            enter(*main, "txtOldShim", "2.45");
            enter(*main, "txtSpec", "0.175");
            ASSERT_TRUE(tabTo(*main, box));
            press(*main, key);
            EXPECT_TRUE(boxes.shown().empty());
            EXPECT_TRUE(resultHidden());
            EXPECT_EQ(text("txtGap"), "0.20");
            EXPECT_EQ(text("txtOldShim"), "2.45");
            EXPECT_EQ(text("txtSpec"), "0.175");
            EXPECT_EQ(focused(*main), box);
        }
    }
    // Nor in the result box once it is shown.
    calculateWith("0.20", "2.45", "0.175");
    boxes.clear();
    ASSERT_TRUE(tabTo(*main, "txtNewShim"));
    press(*main, Key::Enter);
    press(*main, Key::Escape);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(resultShown());
    EXPECT_EQ(text("txtNewShim"), "2.475");
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->visible());
}

} // namespace
} // namespace clearmark
