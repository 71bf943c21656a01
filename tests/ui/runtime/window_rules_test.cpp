// The rules every implementation applies to the real windows, checked through the input
// driver on each: a box belongs to the window that opened it and gives it the keyboard back,
// every caption fits its control as drawn, and a label's paragraphs each begin a line.
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "main/frmClearmark.h"
#include "runtime/keyboard.h"
#include "sheet/frmShimBox.h"
#include "sheet/frmValveSheet.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"
#include "support/memory_storage.h"

#include <string>
#include <vector>

namespace clearmark {
namespace {

using runtime::forms;
using testing_support::Key;

class WindowRules : public testing_support::WithMainWindow {
protected:
    testing_support::MemoryStorage storage; // the shim box's file
};

// About's "System Info..." box as a user meets it: opened with the Space key, it stands over
// About and no other window takes input while it is up; Enter closes it, About is active again
// with the focus on "System Info...", and Esc then closes About.
TEST_F(WindowRules, ABoxBelongsToItsWindowAndGivesItTheKeyboardBack) {
    const runtime::MsgBoxPresenter scripted = runtime::setMsgBoxPresenter({});
    choose(*main, "mnuAbout");
    const auto& about = *forms().find<frmAbout>();
    ASSERT_TRUE(tabTo(about, "cmdSysInfo"));
    const testing_support::RealBox box =
        input().answerRealBox([&about] { press(about, Key::Space); }, Key::Enter);
    runtime::setMsgBoxPresenter(scripted);
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(box.ownerCaption, "About Clearmark");
    EXPECT_FALSE(box.programTakesInput) << "another window took input while the box was up";
    EXPECT_TRUE(input().isActive(about));
    EXPECT_EQ(focused(about), "cmdSysInfo");
    press(about, Key::Escape);
    input().settle();
    EXPECT_EQ(forms().find<frmAbout>(), nullptr);
}

// A window shown again while it is open (Converter pressed with the converter behind the main
// window) comes to the front, active, with its focus where it was.
TEST_F(WindowRules, AWindowShownAgainComesToTheFrontWithItsFocus) {
    click(*main, "cmdConverter");
    const auto& conv = *forms().find<frmConvert>();
    type(conv, "txtData", "12.5");
    input().activate(*main);
    ASSERT_TRUE(input().isActive(*main));
    click(*main, "cmdConverter");
    input().settle();
    EXPECT_TRUE(input().isActive(conv));
    EXPECT_FALSE(input().isActive(*main));
    EXPECT_EQ(focused(conv), "txtData");
    EXPECT_EQ(textBox(conv, "txtData").text(), "12.5");
}

// Every command button's and label's caption fits the control as the implementation draws
// it: the buttons' within their frames, the labels' wrapped in their rectangles.
TEST_F(WindowRules, EveryCaptionFitsItsControl) {
    click(*main, "cmdConverter");
    choose(*main, "mnuAbout");
    choose(*main, "mnuHelp2");
    choose(*main, "mnuValveSheet");
    choose(*main, "mnuShimBox");
    const runtime::Form* windows[] = {main,
                                      forms().find<frmConvert>(),
                                      forms().find<frmAbout>(),
                                      forms().find<frmHelpCalculator>(),
                                      forms().find<frmValveSheet>(),
                                      forms().find<frmShimBox>()};
    for (const runtime::Form* form : windows) {
        ASSERT_NE(form, nullptr);
        int measured = 0;
        for (const runtime::Control& control : form->controls()) {
            const bool button = control.kind() == runtime::ControlKind::CommandButton;
            if ((!button && control.kind() != runtime::ControlKind::Label) || !control.visible())
                continue;
            SCOPED_TRACE(std::string(form->design().name) + "." + control.name());
            const testing_support::CaptionRoom room = input().captionRoom(control);
            EXPECT_LE(room.neededWidth, room.width);
            EXPECT_LE(room.neededHeight, room.height);
            ++measured;
        }
        EXPECT_GT(measured, 0) << form->design().name << " has no caption measured";
    }
}

// The help text as drawn: each paragraph begins a line, every word is drawn in order, and the
// whole text fits the label.
TEST_F(WindowRules, HelpParagraphsEachBeginALineAndTheWholeTextFits) {
    choose(*main, "mnuHelp2");
    const auto& help = *forms().find<frmHelpCalculator>();
    const auto helpLabel = help.control<runtime::Label>("lblHelp");
    const std::vector<std::string> lines = input().drawnLines(helpLabel);
    std::string drawn;
    for (const std::string& line : lines) {
        if (!drawn.empty())
            drawn += ' ';
        drawn += line;
    }
    std::string written;
    for (const char* paragraph : expected::kHelpParagraphs) {
        if (!written.empty())
            written += ' ';
        written += paragraph;
        const std::string start = std::string(paragraph).substr(0, 20);
        bool beginsALine = false;
        for (const std::string& line : lines)
            beginsALine = beginsALine || line.rfind(start, 0) == 0;
        EXPECT_TRUE(beginsALine) << start;
    }
    EXPECT_EQ(drawn, written);
    // More lines than paragraphs: the long ones wrap.
    EXPECT_GT(lines.size(), std::size(expected::kHelpParagraphs));
    const testing_support::CaptionRoom room = input().captionRoom(helpLabel);
    EXPECT_LE(room.neededWidth, room.width);
    EXPECT_LE(room.neededHeight, room.height);
}

} // namespace
} // namespace clearmark
