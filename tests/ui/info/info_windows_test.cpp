// The help and About windows: their texts, opening them from the menu, the keyboard, and
// the way to the system's information tool.
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "main/frmClearmark.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgBoxRequest;
using testing_support::Key;

class InfoWindows : public testing_support::WithMainWindow {
protected:
    frmHelpCalculator& openHelp() {
        choose(*main, "mnuHelp2");
        return opened<frmHelpCalculator>();
    }
    frmAbout& openAbout() {
        choose(*main, "mnuAbout");
        return opened<frmAbout>();
    }

private:
    template <class F> static F& opened() {
        F* form = forms().find<F>();
        if (form == nullptr)
            throw std::logic_error("the menu entry opened no window");
        return *form;
    }
};

using expected::kHelpParagraphs;
const std::size_t kSpaceRuns[] = {46, 84, 79, 35, 0};

TEST_F(InfoWindows, HelpTextIsExact) {
    const frmHelpCalculator& help = openHelp();
    const std::string text = label(help, "lblHelp").caption();
    EXPECT_EQ(text.size(), 746u);
    std::string expected;
    for (std::size_t i = 0; i < std::size(kHelpParagraphs); ++i)
        expected += kHelpParagraphs[i] + std::string(kSpaceRuns[i], ' ');
    EXPECT_EQ(text, expected);
    EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST_F(InfoWindows, HelpWindowTakesNoFocusAndNoKey) {
    const frmHelpCalculator& help = openHelp();
    EXPECT_EQ(help.caption(), "How To Use Calculator");
    EXPECT_TRUE(help.visible());
    EXPECT_EQ(focused(help), "");
    for (const Key key : {Key::Tab, Key::ShiftTab, Key::Enter, Key::Escape, Key::Space}) {
        press(help, key);
        EXPECT_EQ(focused(help), "");
    }
    // Keys close nothing: only its close button does.
    EXPECT_EQ(forms().find<frmHelpCalculator>(), &help);
    EXPECT_TRUE(help.visible());
    EXPECT_TRUE(boxes.shown().empty());
    input().close(help);
    EXPECT_EQ(forms().find<frmHelpCalculator>(), nullptr);
    EXPECT_EQ(programEnds, 0);
}

TEST_F(InfoWindows, MenuOpensOneHelpAndOneAboutWindow) {
    frmHelpCalculator& help = openHelp();
    frmAbout& about = openAbout();
    // Marked, so that a window loaded again would show.
    label(help, "lblHelp").setCaption("marked");
    label(about, "lblTitle").setCaption("marked");
    EXPECT_EQ(&openHelp(), &help);
    EXPECT_EQ(&openAbout(), &about);
    EXPECT_TRUE(help.visible());
    EXPECT_TRUE(about.visible());
    EXPECT_EQ(label(help, "lblHelp").caption(), "marked");
    EXPECT_EQ(label(about, "lblTitle").caption(), "marked");

    input().close(help);
    input().close(about);
    EXPECT_EQ(loadedWindows(), "frmClearmark frmConvert");
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->visible());
    input().settle();

    // Opened again, each is a window loaded afresh.
    const frmHelpCalculator& helpAgain = openHelp();
    EXPECT_EQ(helpAgain.caption(), "How To Use Calculator");
    EXPECT_EQ(label(helpAgain, "lblHelp").caption().size(), 746u);
    const frmAbout& aboutAgain = openAbout();
    EXPECT_EQ(label(aboutAgain, "lblTitle").caption(), "Clearmark");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(InfoWindows, AboutCaptionsComeFromTheApplication) {
    const frmAbout& about = openAbout();
    EXPECT_EQ(about.caption(), "About Clearmark");
    EXPECT_EQ(label(about, "lblTitle").caption(), "Clearmark");
    EXPECT_EQ(label(about, "lblVersion").caption(), "Version 1.0.0");
    EXPECT_EQ(frmAbout::versionCaption({2, 3, 14}), "Version 2.3.14");
    EXPECT_EQ(frmAbout::versionCaption({1, 10, 0}), "Version 1.10.0");
    EXPECT_EQ(frmAbout::versionCaption({0, 0, 7}), "Version 0.0.7");
    EXPECT_EQ(focused(about), "cmdOK");
}

TEST_F(InfoWindows, AboutTextsAndButtons) {
    const frmAbout& about = openAbout();
    EXPECT_EQ(label(about, "lblDescription").caption(),
              "This program will determine which size shim you need in order to get the proper "
              "valve clearance. You can use the default average of 0.175 for intake and 0.275 for "
              "exhaust OR you can enter you own desired end gap This program may also be used for "
              "other makes, but use at your own risk.");
    EXPECT_EQ(label(about, "lblDisclaimer").caption(),
              "Warning: Use at your own risk! I accept no liability or fault for errors contained "
              "or damage to any parts by use of this application. If you are not experienced "
              "enough to do a valve shim replacement, do not attempt to do so. You have been "
              "warned!");
    EXPECT_EQ(control<runtime::CommandButton>(about, "cmdOK").caption(), "OK");
    EXPECT_EQ(control<runtime::CommandButton>(about, "cmdSysInfo").caption(), "&System Info...");
    std::vector<std::string> names;
    for (const runtime::Control& control : about.controls()) {
        names.push_back(control.name());
        EXPECT_TRUE(control.visible()) << control.name();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"picIcon", "cmdOK", "cmdSysInfo", "lblDescription",
                                               "lblTitle", "lblVersion", "lblDisclaimer"}));
}

TEST_F(InfoWindows, AboutTabKeyFollowsTheTabIndexes) {
    const frmAbout& about = openAbout();
    ASSERT_EQ(focused(about), "cmdOK");
    EXPECT_EQ(focusAfterEach(about, Key::Tab, 3),
              (std::vector<std::string>{"picIcon", "cmdSysInfo", "cmdOK"}));
    EXPECT_EQ(focusAfterEach(about, Key::ShiftTab, 3),
              (std::vector<std::string>{"cmdSysInfo", "picIcon", "cmdOK"}));
    EXPECT_EQ(forms().find<frmAbout>(), &about);
}

// Every way of leaving the About window: OK is its default and its cancel button.
struct AboutExit {
    const char* name;
    const char* focus;      // the control holding the focus first
    std::optional<Key> key; // none: the action below
    bool clickOK;           // else the title-bar close button
};

void PrintTo(const AboutExit& c, std::ostream* out) {
    *out << c.name;
}

class AboutUnloads : public InfoWindows, public ::testing::WithParamInterface<AboutExit> {};

TEST_P(AboutUnloads, AndOpensAfreshNextTime) {
    const AboutExit& c = GetParam();
    frmAbout& about = openAbout();
    EXPECT_EQ(label(about, "lblVersion").caption(), "Version 1.0.0");
    label(about, "lblTitle").setCaption("marked");
    ASSERT_TRUE(tabTo(about, c.focus));
    if (c.key)
        press(about, *c.key);
    else if (c.clickOK)
        click(about, "cmdOK");
    else
        input().close(about);
    EXPECT_EQ(forms().find<frmAbout>(), nullptr);
    input().settle();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->visible());

    const frmAbout& again = openAbout();
    EXPECT_EQ(label(again, "lblTitle").caption(), "Clearmark");
    EXPECT_EQ(focused(again), "cmdOK");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutUnloads,
    ::testing::Values(AboutExit{"EscOnOK", "cmdOK", Key::Escape, false},
                      AboutExit{"EnterOnOK", "cmdOK", Key::Enter, false},
                      AboutExit{"SpaceOnOK", "cmdOK", Key::Space, false},
                      AboutExit{"EnterOnThePicture", "picIcon", Key::Enter, false},
                      AboutExit{"EscOnThePicture", "picIcon", Key::Escape, false},
                      AboutExit{"EscOnSystemInfo", "cmdSysInfo", Key::Escape, false},
                      AboutExit{"ClickOnOK", "cmdOK", std::nullopt, true},
                      AboutExit{"TitleBarClose", "cmdOK", std::nullopt, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InfoWindows, SystemInfoWithoutTheToolShowsTheBoxAndKeepsTheWindow) {
    const frmAbout& about = openAbout();
    bool aboutOpenDuringBox = false;
    boxes.whileShown([&](const MsgBoxRequest&) { aboutOpenDuringBox = about.visible(); });
    click(about, "cmdSysInfo");
    boxes.whileShown(nullptr);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], expected::kUnavailable);
    EXPECT_TRUE(aboutOpenDuringBox);
    EXPECT_EQ(forms().find<frmAbout>(), &about);
    EXPECT_TRUE(about.visible());
    EXPECT_EQ(about.caption(), "About Clearmark");
    EXPECT_EQ(programEnds, 0);
}

TEST_F(InfoWindows, EnterOrSpaceOnAFocusedSystemInfoPressesSystemInfo) {
    const frmAbout& about = openAbout();
    for (const Key key : {Key::Enter, Key::Space}) {
        SCOPED_TRACE(key == Key::Enter ? "Enter" : "Space");
        boxes.clear();
        ASSERT_TRUE(tabTo(about, "cmdSysInfo"));
        press(about, key);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], expected::kUnavailable);
        EXPECT_EQ(forms().find<frmAbout>(), &about); // not OK, the default button
        EXPECT_TRUE(about.visible());
        EXPECT_EQ(focused(about), "cmdSysInfo");
    }
    EXPECT_EQ(programEnds, 0);
}

// The access key of "&System Info..." presses it wherever the window's focus is.
TEST_F(InfoWindows, AltSPressesSystemInfo) {
    const frmAbout& about = openAbout();
    for (const char* focus : {"cmdOK", "picIcon", "cmdSysInfo"}) {
        SCOPED_TRACE(focus);
        boxes.clear();
        ASSERT_TRUE(tabTo(about, focus));
        input().pressAlt(about, 's');
        input().settle();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], expected::kUnavailable);
        EXPECT_EQ(forms().find<frmAbout>(), &about);
        EXPECT_TRUE(about.visible());
    }
    EXPECT_EQ(programEnds, 0);
}

} // namespace
} // namespace clearmark
