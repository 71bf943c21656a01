// Between the windows: the converter loaded at start, opening and closing windows, Exit and
// the end of the program.
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "main/frmClearmark.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgBoxRequest;

const MsgBoxRequest& kExitBox = expected::kExit;

class Navigation : public testing_support::WithMainWindow {
protected:
    frmConvert& openConverter() {
        click(*main, "cmdConverter");
        frmConvert* conv = forms().find<frmConvert>();
        if (conv == nullptr)
            throw std::logic_error("Converter opened no converter");
        return *conv;
    }
};

TEST_F(Navigation, StartLoadsTheConverterHiddenOnce) {
    const frmConvert* conv = forms().find<frmConvert>();
    ASSERT_NE(conv, nullptr);
    EXPECT_FALSE(conv->visible());
    // Its load step has run: the box is empty and no direction is chosen.
    EXPECT_EQ(textBox(*conv, "txtData").text(), "");
    EXPECT_FALSE(control<runtime::OptionButton>(*conv, "optMmToInches").value());
    EXPECT_FALSE(control<runtime::OptionButton>(*conv, "optInchesToMm").value());
    EXPECT_EQ(loadedWindows(), "frmClearmark frmConvert");
    EXPECT_TRUE(main->visible());
    EXPECT_TRUE(boxes.shown().empty());

    // Opening it shows the window loaded at start, without loading it again.
    textBox(*conv, "txtData").setText("set while hidden");
    EXPECT_EQ(&openConverter(), conv);
    EXPECT_TRUE(conv->visible());
    EXPECT_EQ(textBox(*conv, "txtData").text(), "set while hidden");
}

TEST_F(Navigation, ConverterTwiceIsOneWindowKeepingItsText) {
    frmConvert& conv = openConverter();
    EXPECT_TRUE(conv.visible());
    type(conv, "txtData", "12.5");
    select(conv, "optMmToInches");
    EXPECT_EQ(&openConverter(), &conv);
    EXPECT_TRUE(conv.visible());
    EXPECT_EQ(textBox(conv, "txtData").text(), "12.5");
    EXPECT_TRUE(control<runtime::OptionButton>(conv, "optMmToInches").value());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Navigation, ClosingTheConverterKeepsTheProgramAndReloadsItNextTime) {
    frmConvert& conv = openConverter();
    type(conv, "txtData", "7");
    select(conv, "optInchesToMm");
    input().close(conv);
    EXPECT_EQ(forms().find<frmConvert>(), nullptr);
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->visible());
    input().settle();

    // A new window, loaded afresh: nothing of the old one is left.
    const frmConvert& again = openConverter();
    EXPECT_TRUE(again.visible());
    EXPECT_EQ(textBox(again, "txtData").text(), "");
    EXPECT_FALSE(control<runtime::OptionButton>(again, "optInchesToMm").value());
    EXPECT_EQ(focused(again), "txtData");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Navigation, ExitCancelledChangesNothing) {
    frmConvert& conv = openConverter();
    type(conv, "txtData", "3");
    type(*main, "txtGap", "0.20");
    boxes.answerNext(MsgAnswer::Cancel);
    click(*main, "cmdExit");

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kExitBox);
    EXPECT_EQ(programEnds, 0);
    EXPECT_FALSE(runtime::programHasEnded());
    EXPECT_EQ(forms().find<frmClearmark>(), main);
    EXPECT_EQ(forms().find<frmConvert>(), &conv);
    EXPECT_TRUE(main->visible());
    EXPECT_TRUE(conv.visible());
    EXPECT_EQ(textBox(*main, "txtGap").text(), "0.20");
    EXPECT_EQ(textBox(conv, "txtData").text(), "3");

    // The program goes on answering.
    click(*main, "cmdIntake");
    EXPECT_EQ(textBox(*main, "txtSpec").text(), "0.175");
}

TEST_F(Navigation, ExitConfirmedEndsTheProgram) {
    openConverter();
    choose(*main, "mnuHelp2");
    choose(*main, "mnuAbout");
    ASSERT_EQ(loadedWindows(), "frmClearmark frmConvert frmHelpCalculator frmAbout");
    boxes.answerNext(MsgAnswer::OK);
    click(*main, "cmdExit");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kExitBox);
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(runtime::programHasEnded());
    EXPECT_EQ(loadedWindows(), "");
    input().settle();
    EXPECT_EQ(programEnds, 1);
}

TEST_F(Navigation, ClosingTheMainWindowEndsAtOnceWithoutAQuestion) {
    openConverter();
    choose(*main, "mnuAbout");
    input().close(*main);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(loadedWindows(), "");
    input().settle();
    EXPECT_EQ(programEnds, 1);
}

TEST_F(Navigation, MenuEntriesOpenOneWindowEach) {
    choose(*main, "mnuHelp2");
    choose(*main, "mnuAbout");
    frmHelpCalculator* help = forms().find<frmHelpCalculator>();
    frmAbout* about = forms().find<frmAbout>();
    ASSERT_NE(help, nullptr);
    ASSERT_NE(about, nullptr);
    // Marked, so that a window loaded again would show.
    label(*help, "lblHelp").setCaption("marked");
    label(*about, "lblTitle").setCaption("marked");

    choose(*main, "mnuHelp2");
    choose(*main, "mnuAbout");
    EXPECT_EQ(forms().find<frmHelpCalculator>(), help);
    EXPECT_EQ(forms().find<frmAbout>(), about);
    EXPECT_TRUE(help->visible());
    EXPECT_TRUE(about->visible());
    EXPECT_EQ(label(*help, "lblHelp").caption(), "marked");
    EXPECT_EQ(label(*about, "lblTitle").caption(), "marked");
    EXPECT_EQ(loadedWindows(), "frmClearmark frmConvert frmHelpCalculator frmAbout");
    EXPECT_TRUE(main->visible());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(Navigation, ClosingAnyOtherWindowLeavesTheRestAsTheyWere) {
    frmConvert& conv = openConverter();
    type(conv, "txtData", "4");
    type(*main, "txtGap", "0.3");
    choose(*main, "mnuHelp2");
    choose(*main, "mnuAbout");

    input().close(*forms().find<frmAbout>());
    EXPECT_EQ(loadedWindows(), "frmClearmark frmConvert frmHelpCalculator");
    input().close(*forms().find<frmHelpCalculator>());
    EXPECT_EQ(loadedWindows(), "frmClearmark frmConvert");
    EXPECT_TRUE(conv.visible());
    EXPECT_EQ(textBox(conv, "txtData").text(), "4");
    input().close(conv);
    EXPECT_EQ(loadedWindows(), "frmClearmark");
    EXPECT_TRUE(main->visible());
    EXPECT_EQ(textBox(*main, "txtGap").text(), "0.3");
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(boxes.shown().empty());
}

} // namespace
} // namespace clearmark
