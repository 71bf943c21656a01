// The converter's behaviour: the conversions both ways, its boxes, Reset, Copy and the
// keyboard.
#include "convert/frmConvert.h"
#include "core/measurement.h"
#include "main/frmClearmark.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"

#include <ostream>
#include <string>
#include <vector>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgBoxRequest;
using testing_support::Key;

const MsgBoxRequest& kNoDataBox = expected::kNoData;
const MsgBoxRequest& kBadDataBox = expected::kConvertBadData;
const MsgBoxRequest& kNoDataToCopyBox = expected::kNoDataToCopy;
using expected::goodDataToCopy;

enum class Direction { None, MmToInches, InchesToMm };

class Converter : public testing_support::WithMainWindow {
protected:
    void SetUp() override {
        WithMainWindow::SetUp();
        conv = &open();
    }

    frmConvert& open() {
        click(*main, "cmdConverter");
        frmConvert* opened = forms().find<frmConvert>();
        if (opened == nullptr)
            throw std::logic_error("Converter opened no converter");
        return *opened;
    }
    runtime::TextBox data() const { return textBox(*conv, "txtData"); }
    runtime::OptionButton option(const char* name) const {
        return control<runtime::OptionButton>(*conv, name);
    }
    Direction direction() const {
        const bool toInches = option("optMmToInches").value();
        const bool toMm = option("optInchesToMm").value();
        EXPECT_FALSE(toInches && toMm) << "both directions selected";
        return toInches ? Direction::MmToInches : toMm ? Direction::InchesToMm : Direction::None;
    }
    void choose(Direction d) {
        if (d == Direction::MmToInches)
            select(*conv, "optMmToInches");
        if (d == Direction::InchesToMm)
            select(*conv, "optInchesToMm");
        ASSERT_EQ(direction(), d);
    }

    frmConvert* conv = nullptr;
};

struct ConversionCase {
    const char* name;
    Direction direction;
    std::string input;
    std::vector<std::string> results; // after each further Convert
};

void PrintTo(const ConversionCase& c, std::ostream* out) {
    *out << c.name;
}

class ConverterConverts : public Converter, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConverterConverts, WritesTheResultBackIntoTheSameBox) {
    const ConversionCase& c = GetParam();
    choose(c.direction);
    enter(*conv, "txtData", c.input);
    for (const std::string& expected : c.results) {
        click(*conv, "cmdConvert1");
        EXPECT_EQ(data().text(), expected);
        EXPECT_EQ(direction(), c.direction);
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(conv->visible());
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConverterConverts,
    ::testing::Values(
        ConversionCase{"inchOfMm", Direction::MmToInches, "25.4", {"1", "0.0393700787401575"}},
        ConversionCase{"hundredth", Direction::MmToInches, "0.254", {"0.01"}},
        ConversionCase{"twiceToMm", Direction::InchesToMm, "1", {"25.4", "645.16"}},
        ConversionCase{"two", Direction::InchesToMm, "2", {"50.8"}},
        ConversionCase{"negative", Direction::InchesToMm, "-1", {"-25.4"}},
        ConversionCase{"blanksAround", Direction::InchesToMm, "  2\t", {"50.8"}},
        ConversionCase{"decimalComma", Direction::MmToInches, "25,4", {"1"}},
        ConversionCase{"largeButFinite", Direction::InchesToMm, "1e300", {"2.54e+301"}},
        ConversionCase{"tiny", Direction::MmToInches, "1e-400", {"0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Converter, SmallMillimetresWriteAtMostFifteenDigits) {
    choose(Direction::MmToInches);
    type(*conv, "txtData", "0.2");
    click(*conv, "cmdConvert1");
    const std::string text = data().text();
    // The significant digits: the mantissa without its sign, point and leading zeros.
    std::string digits = text.substr(0, text.find_first_of("eE"));
    std::erase_if(digits, [](char c) { return c == '.' || c == '-'; });
    digits.erase(0, digits.find_first_not_of('0'));
    EXPECT_LE(digits.size(), 15u) << text;
    const std::optional<double> shown = parseMeasurement(text);
    ASSERT_TRUE(shown.has_value()) << text;
    EXPECT_NEAR(*shown, 0.2 / 25.4, 1e-17);
}

// Too long for the box in its large type: what the program writes is read from its start,
// what the user types keeps the end, where the typing is, in view.
TEST_F(Converter, AWrittenLongNumberIsShownFromItsStart) {
    choose(Direction::MmToInches);
    enter(*conv, "txtData", "25.4");
    click(*conv, "cmdConvert1");
    click(*conv, "cmdConvert1");
    ASSERT_EQ(data().text(), "0.0393700787401575");
    EXPECT_EQ(input().firstVisibleCharacter(data()), 0);

    click(*conv, "cmdReset");
    type(*conv, "txtData", "0.0393700787401575");
    EXPECT_GT(input().firstVisibleCharacter(data()), 0);
}

TEST_F(Converter, NoDirectionLeavesTheTextAndSaysNothing) {
    for (const char* text : {"25.4", "abc", "   "}) {
        enter(*conv, "txtData", text);
        click(*conv, "cmdConvert1");
        EXPECT_EQ(data().text(), text);
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(direction(), Direction::None);
}

TEST_F(Converter, EmptyTextShowsOnlyTheNoDataBox) {
    for (Direction d : {Direction::None, Direction::InchesToMm, Direction::MmToInches}) {
        if (d != Direction::None)
            choose(d);
        boxes.clear();
        data().setText("");
        click(*conv, "cmdConvert1");
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], kNoDataBox);
        EXPECT_EQ(direction(), d);
        EXPECT_EQ(data().text(), "");
    }
}

TEST_F(Converter, ResetEmptiesTheTextAndKeepsTheDirection) {
    choose(Direction::InchesToMm);
    type(*conv, "txtData", "2");
    click(*conv, "cmdConvert1");
    click(*conv, "cmdReset");
    EXPECT_EQ(data().text(), "");
    EXPECT_EQ(direction(), Direction::InchesToMm);
    EXPECT_TRUE(boxes.shown().empty());
}

struct BadConversion {
    const char* name;
    Direction direction;
    std::string input;
};

void PrintTo(const BadConversion& c, std::ostream* out) {
    *out << c.name;
}

class ConverterRefuses : public Converter, public ::testing::WithParamInterface<BadConversion> {};

TEST_P(ConverterRefuses, ShowsBadDataAndChangesNothing) {
    const BadConversion& c = GetParam();
    choose(c.direction);
    enter(*conv, "txtData", "3");
    click(*conv, "cmdConvert1"); // a value to keep
    boxes.clear();

    enter(*conv, "txtData", c.input);
    click(*conv, "cmdConvert1");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kBadDataBox);
    EXPECT_EQ(data().text(), c.input);
    EXPECT_EQ(direction(), c.direction);
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(conv->visible());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConverterRefuses,
    ::testing::Values(BadConversion{"letters", Direction::MmToInches, "abc"},
                      BadConversion{"blanks", Direction::InchesToMm, "   "},
                      BadConversion{"overflowingProduct", Direction::InchesToMm, "1e308"},
                      BadConversion{"negativeOverflow", Direction::InchesToMm, "-7.1e306"},
                      BadConversion{"beyondDoubles", Direction::MmToInches, "1e999"},
                      BadConversion{"hugeText", Direction::MmToInches, std::string(100'000, 'x')},
                      BadConversion{"twoDecimalMarks", Direction::InchesToMm, "2,4.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Converter, CopyOfAnEmptyBoxShowsOnlyItsBoxAndKeepsTheClipboard) {
    input().setClipboardText("earlier");
    choose(Direction::InchesToMm);
    click(*conv, "cmdCopy");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kNoDataToCopyBox);
    EXPECT_EQ(input().clipboardText(), "earlier");
    EXPECT_EQ(forms().find<frmConvert>(), conv);
    EXPECT_TRUE(conv->visible());
    EXPECT_EQ(direction(), Direction::InchesToMm);
}

TEST_F(Converter, CopyPutsTheTextOnTheClipboardAndUnloads) {
    input().setClipboardText("earlier");
    std::string clipboardDuringBox;
    boxes.whileShown([&](const MsgBoxRequest&) { clipboardDuringBox = input().clipboardText(); });
    choose(Direction::MmToInches);
    type(*conv, "txtData", "25.4");
    click(*conv, "cmdCopy");
    boxes.whileShown(nullptr);

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], goodDataToCopy("25.4"));
    EXPECT_EQ(clipboardDuringBox, "earlier"); // copied only once the box is closed
    EXPECT_EQ(input().clipboardText(), "25.4");
    EXPECT_EQ(forms().find<frmConvert>(), nullptr);
    input().settle();
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->visible());

    conv = &open();
    EXPECT_TRUE(conv->visible());
    EXPECT_EQ(data().text(), "");
    EXPECT_EQ(direction(), Direction::None);
    EXPECT_EQ(focused(*conv), "txtData");
}

TEST_F(Converter, CopyTakesAnyTextAsItStands) {
    for (const std::string& text : {std::string("abc"), std::string("   "), std::string(" 1 2 "),
                                    std::string("\xc2\xb5m"), std::string(100'000, '7')}) {
        SCOPED_TRACE(text.substr(0, 10));
        conv = &forms().show<frmConvert>();
        data().setText(text);
        boxes.clear();
        click(*conv, "cmdCopy");
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], goodDataToCopy(text));
        EXPECT_EQ(input().clipboardText(), text);
        EXPECT_EQ(forms().find<frmConvert>(), nullptr);
    }
}

TEST_F(Converter, PastedIntoTheMainWindowItGivesTheShim) {
    // 0.0078740157480315 inches, converted and copied, is the measured gap of 0.2 mm.
    choose(Direction::InchesToMm);
    type(*conv, "txtData", "0.0078740157480315");
    click(*conv, "cmdConvert1");
    EXPECT_EQ(data().text(), "0.2");
    click(*conv, "cmdCopy");
    boxes.clear();

    input().paste(textBox(*main, "txtGap"));
    EXPECT_EQ(textBox(*main, "txtGap").text(), "0.2");
    type(*main, "txtOldShim", "2.45");
    click(*main, "cmdIntake");
    click(*main, "cmdCalculate");
    EXPECT_EQ(textBox(*main, "txtNewShim").text(), "2.475");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], expected::kShimSizes);
}

TEST_F(Converter, OpensWithTheFocusInTheEmptyTextBox) {
    EXPECT_EQ(conv->caption(), "Conversion Form");
    EXPECT_TRUE(conv->visible());
    EXPECT_EQ(focused(*conv), "txtData");
    EXPECT_EQ(direction(), Direction::None);
    EXPECT_EQ(data().text(), "");
    EXPECT_TRUE(main->visible());
}

// The two option buttons are one group and one stop of the Tab key, as on Windows: Tab
// enters the group at the selected direction, or at the first button while none is.
TEST_F(Converter, TabKeyFollowsTheTabIndexesWithTheOptionsAsOneStop) {
    struct Case {
        Direction chosen;
        const char* stop;
    };
    const Case cases[] = {{Direction::None, "optMmToInches"},
                          {Direction::MmToInches, "optMmToInches"},
                          {Direction::InchesToMm, "optInchesToMm"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stop);
        if (c.chosen != Direction::None)
            choose(c.chosen);
        ASSERT_TRUE(tabTo(*conv, "txtData"));
        EXPECT_EQ(
            focusAfterEach(*conv, Key::Tab, 5),
            (std::vector<std::string>{c.stop, "cmdCopy", "cmdReset", "cmdConvert1", "txtData"}));
        EXPECT_EQ(
            focusAfterEach(*conv, Key::ShiftTab, 5),
            (std::vector<std::string>{"cmdConvert1", "cmdReset", "cmdCopy", c.stop, "txtData"}));
        EXPECT_EQ(direction(), c.chosen); // moving the focus chooses nothing
    }
}

TEST_F(Converter, SpaceOnAFocusedOptionButtonChoosesItsDirection) {
    ASSERT_TRUE(tabTo(*conv, "optMmToInches"));
    press(*conv, Key::Space);
    EXPECT_EQ(direction(), Direction::MmToInches);
    // Chosen by a click, the other direction is the group's stop from then on.
    choose(Direction::InchesToMm);
    ASSERT_TRUE(tabTo(*conv, "txtData"));
    ASSERT_TRUE(tabTo(*conv, "optInchesToMm"));
    press(*conv, Key::Space);
    EXPECT_EQ(direction(), Direction::InchesToMm);
    EXPECT_TRUE(boxes.shown().empty());
}

// Enter on a focused command button presses it, as Space does; the converter has no
// default button, so Enter elsewhere presses nothing.
struct ButtonKeyCase {
    const char* name;
    const char* button;
    Key key;
};

void PrintTo(const ButtonKeyCase& c, std::ostream* out) {
    *out << c.name;
}

class ConverterButtonKeys : public Converter,
                            public ::testing::WithParamInterface<ButtonKeyCase> {};

TEST_P(ConverterButtonKeys, PressTheFocusedButton) {
    const ButtonKeyCase& c = GetParam();
    const std::string button = c.button;
    input().setClipboardText("earlier");
    choose(Direction::InchesToMm);
    type(*conv, "txtData", "2");
    ASSERT_TRUE(tabTo(*conv, c.button));
    press(*conv, c.key);

    if (button == "cmdCopy") {
        EXPECT_EQ(boxes.shown(), std::vector{goodDataToCopy("2")});
        EXPECT_EQ(input().clipboardText(), "2");
        EXPECT_EQ(forms().find<frmConvert>(), nullptr);
    } else {
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_EQ(input().clipboardText(), "earlier");
        EXPECT_EQ(data().text(), button == "cmdConvert1" ? "50.8" : "");
        EXPECT_EQ(direction(), Direction::InchesToMm);
        EXPECT_EQ(focused(*conv), c.button);
    }
    EXPECT_EQ(programEnds, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ConverterButtonKeys,
    ::testing::Values(ButtonKeyCase{"EnterOnConvert", "cmdConvert1", Key::Enter},
                      ButtonKeyCase{"SpaceOnConvert", "cmdConvert1", Key::Space},
                      ButtonKeyCase{"EnterOnReset", "cmdReset", Key::Enter},
                      ButtonKeyCase{"SpaceOnReset", "cmdReset", Key::Space},
                      ButtonKeyCase{"EnterOnCopy", "cmdCopy", Key::Enter},
                      ButtonKeyCase{"SpaceOnCopy", "cmdCopy", Key::Space}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Converter, EnterAndEscElsewherePressNothing) {
    choose(Direction::InchesToMm);
    type(*conv, "txtData", "2");
    for (const char* where : {"txtData", "optInchesToMm"}) {
        for (const Key key : {Key::Enter, Key::Escape}) {
            SCOPED_TRACE(std::string(where) + (key == Key::Enter ? " Enter" : " Esc"));
            ASSERT_TRUE(tabTo(*conv, where));
            press(*conv, key);
            EXPECT_TRUE(boxes.shown().empty());
            EXPECT_EQ(data().text(), "2");
            EXPECT_EQ(direction(), Direction::InchesToMm);
            EXPECT_EQ(forms().find<frmConvert>(), conv);
            EXPECT_TRUE(conv->visible());
            EXPECT_EQ(focused(*conv), where);
        }
    }
}

TEST_F(Converter, ControlsCarryTheirCaptions) {
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdConvert1", "Convert"},
        {"cmdReset", "Reset"},
        {"cmdCopy", "Copy to Clipboard  and exit"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(control<runtime::CommandButton>(*conv, name).caption(), caption) << name;
    EXPECT_EQ(option("optInchesToMm").caption(), "Inches to MM");
    EXPECT_EQ(option("optMmToInches").caption(), "MM to Inches");
    EXPECT_EQ(label(*conv, "lblconvert").caption(),
              "Enter the measurement below, then check which method");
    std::vector<std::string> names;
    for (const runtime::Control& control : conv->controls()) {
        names.push_back(control.name());
        EXPECT_TRUE(control.visible()) << control.name();
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"cmdConvert1", "cmdReset", "cmdCopy", "optInchesToMm",
                                        "optMmToInches", "txtData", "lblconvert"}));
}

} // namespace
} // namespace clearmark
