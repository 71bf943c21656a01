// A seeded monkey: long random sequences of user actions over every window, with the
// windows' rules checked after each one. A failure names its seed and action; replay it
// with CLEARMARK_MONKEY_SEED=<seed> (and CLEARMARK_MONKEY_ACTIONS=<count>).
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "main/frmClearmark.h"
#include "sheet/frmValveSheet.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace clearmark {
namespace {

using runtime::ControlKind;
using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using testing_support::Key;

using namespace expected;

class Monkey : public testing_support::GuiTest, public ::testing::WithParamInterface<unsigned> {
protected:
    // What the current action may show, and what it did show.
    std::vector<MsgBoxRequest> allowed;
    std::vector<MsgBoxRequest> shown;
    bool mayEnd = false;
    // The sheet's Plan and Copy may show a box of the sheet's about any field.
    bool sheetBoxes = false;
    int boxCount = 0;
    std::mt19937 random;

    int pick(std::size_t count) {
        return std::uniform_int_distribution<int>(0, int(count) - 1)(random);
    }
    bool chance(int percent) { return pick(100) < percent; }

    std::string randomText() {
        static const char* const hostile[] = {
            "abc",           "   ",      "-",     ".",    "1.2.3", "1e999",
            "-1e999",        "1e-400",   "nan",   "inf",  "0x10",  "2,5",
            "0.20",          "2.45",     "0.175", "25.4", "1e308", "-7.1e306",
            "1.7e308",       "-1.7e308", " 0.3 ", "+.5",  "1e",    "\xd9\xa1\xd9\xa2",
            "\xef\xbc\x93.5"};
        switch (pick(4)) {
        case 0:
            return hostile[pick(std::size(hostile))];
        case 1: {
            char number[64];
            const double value = std::uniform_real_distribution<double>(-5, 5)(random);
            std::snprintf(number, sizeof number, "%.*g", 1 + pick(17), value);
            return number;
        }
        case 2: {
            static const char kChars[] = "0123456789.eE+- ";
            std::string digits;
            for (int i = pick(30); i >= 0; --i)
                digits += kChars[pick(16)];
            return digits;
        }
        default:
            return std::string(10'000, "9a. "[pick(4)]);
        }
    }

    static std::vector<const runtime::Form*> shownWindows() {
        std::vector<const runtime::Form*> windows;
        const auto add = [&windows](const runtime::Form* form) {
            if (form != nullptr && form->visible())
                windows.push_back(form);
        };
        add(forms().find<frmClearmark>());
        add(forms().find<frmConvert>());
        add(forms().find<frmHelpCalculator>());
        add(forms().find<frmAbout>());
        add(forms().find<frmValveSheet>());
        return windows;
    }
    struct Shown {
        const runtime::Form* window;
        runtime::Control control;
    };
    // The visible controls of the shown windows, of the given kinds.
    static std::vector<Shown> shownControls(std::initializer_list<ControlKind> kinds) {
        std::vector<Shown> found;
        for (const runtime::Form* window : shownWindows())
            for (const runtime::Control& control : window->controls())
                if (control.visible() &&
                    std::find(kinds.begin(), kinds.end(), control.kind()) != kinds.end())
                    found.push_back({window, control});
        return found;
    }

    // What pressing the command button of that name may show, and whether it may end the run.
    void allowFor(const runtime::Form& window, const std::string& button) {
        if (&window == forms().find<frmValveSheet>()) {
            sheetBoxes = button == "cmdPlan" || button == "cmdCopy";
        } else if (button == "cmdCalculate") {
            allowed = {kShimSizes, kBadData};
        } else if (button == "cmdExit") {
            allowed = {kExit};
            mayEnd = true;
        } else if (button == "cmdConvert1") {
            allowed = {kNoData, kConvertBadData};
        } else if (button == "cmdCopy") {
            const std::string data = textBox(*forms().find<frmConvert>(), "txtData").text();
            allowed = {kNoDataToCopy, goodDataToCopy(data)};
        } else if (button == "cmdSysInfo") {
            allowed = {kUnavailable};
        }
    }

    void act() {
        allowed.clear();
        shown.clear();
        mayEnd = false;
        sheetBoxes = false;
        switch (pick(10)) {
        case 0:
        case 1: { // type into a text box, or paste
            const std::vector<Shown> boxes = shownControls({ControlKind::TextBox});
            if (boxes.empty())
                return;
            const Shown& chosen = boxes[pick(boxes.size())];
            const auto box = textBox(*chosen.window, chosen.control.name().c_str());
            const std::string text = randomText();
            if (chance(30))
                box.setText("");
            const bool printable =
                std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
            if (text.size() > 100 || !printable || chance(20)) {
                input().setClipboardText(text);
                input().paste(box);
            } else {
                input().type(box, text);
            }
            return;
        }
        case 2:
        case 3:
        case 4:
        case 5: { // click a button
            const std::vector<Shown> buttons = shownControls(
                {ControlKind::CommandButton, ControlKind::OptionButton, ControlKind::CheckBox});
            if (buttons.empty())
                return;
            const Shown& button = buttons[pick(buttons.size())];
            if (button.control.kind() == ControlKind::CommandButton)
                allowFor(*button.window, button.control.name());
            input().click(button.control);
            return;
        }
        case 6: { // a menu entry
            const frmClearmark* main = forms().find<frmClearmark>();
            static const char* const entries[] = {"mnuAbout", "mnuHelp2", "mnuValveSheet"};
            input().choose(main->control<runtime::MenuItem>(entries[pick(std::size(entries))]));
            return;
        }
        case 7: { // close a window by its close button
            const std::vector<const runtime::Form*> windows = shownWindows();
            const runtime::Form* window = windows[pick(windows.size())];
            const bool isMain = window == forms().find<frmClearmark>();
            if (isMain && !chance(10))
                return; // closing the main window ends the run: rarely
            mayEnd = isMain;
            input().close(*window);
            return;
        }
        case 8: { // a key where a window's focus is
            const std::vector<const runtime::Form*> windows = shownWindows();
            const runtime::Form* window = windows[pick(windows.size())];
            static const Key keys[] = {Key::Tab, Key::ShiftTab, Key::Enter, Key::Escape,
                                       Key::Space};
            const Key key = keys[pick(std::size(keys))];
            // Enter and Space press the focused command button; in the About window Enter
            // and Esc press OK otherwise, which shows nothing.
            input().activate(*window);
            const std::string focus = input().focused(*window);
            const bool pressesFocus = key == Key::Enter || key == Key::Space;
            if (pressesFocus && isCommandButton(*window, focus))
                allowFor(*window, focus);
            // Enter elsewhere in the sheet presses Plan, its default button.
            if (key == Key::Enter && window == forms().find<frmValveSheet>())
                sheetBoxes = true;
            input().press(*window, key);
            return;
        }
        default: // open the converter
            click(*forms().find<frmClearmark>(), "cmdConverter");
            return;
        }
    }

    static bool isCommandButton(const runtime::Form& window, const std::string& name) {
        const std::vector<runtime::Control> controls = window.controls();
        return std::any_of(controls.begin(), controls.end(), [&](const runtime::Control& c) {
            return c.name() == name && c.kind() == ControlKind::CommandButton;
        });
    }

    // The windows' rules, after every action.
    void checkInvariants() {
        input().settle();
        for (const MsgBoxRequest& box : shown) {
            const bool permitted =
                std::find(allowed.begin(), allowed.end(), box) != allowed.end() ||
                (sheetBoxes && box.caption == "Valve Sheet" && box.buttons == MsgButtons::OK) ||
                // Whatever would close or replace the job asks first (the script cancels).
                (box.caption == "Valve Sheet" && box.buttons == MsgButtons::YesNoCancel &&
                 box.text.starts_with("Save changes to "));
            ASSERT_TRUE(permitted)
                << "unexpected box: " << box.text.substr(0, 80) << " / " << box.caption;
        }
        // One box for one action; Exit's question is followed by the job's when it has
        // unsaved changes.
        const bool exitThenJob = shown.size() == 2 && shown[0].caption == "EXIT Program" &&
                                 shown[1].text.starts_with("Save changes to ");
        ASSERT_TRUE(shown.size() <= 1u || exitThenJob)
            << "more than one box for one action: " << shown[0].text << " / " << shown[1].text;
        if (programEnds > 0) {
            ASSERT_TRUE(mayEnd) << "the program ended";
            ASSERT_EQ(loadedWindows(), "") << "windows left after the end";
            return;
        }
        const frmClearmark* main = forms().find<frmClearmark>();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(main->visible());
        const runtime::TextBox result = textBox(*main, "txtNewShim");
        const runtime::Label resultLabel = label(*main, "lblNewShim");
        ASSERT_EQ(result.visible(), resultLabel.visible()) << "result and its label disagree";
        if (!shown.empty() && shown[0] == kBadData) {
            ASSERT_FALSE(result.visible());
            ASSERT_EQ(result.text(), "");
        }
        if (const frmConvert* conv = forms().find<frmConvert>()) {
            ASSERT_FALSE(control<runtime::OptionButton>(*conv, "optMmToInches").value() &&
                         control<runtime::OptionButton>(*conv, "optInchesToMm").value())
                << "both directions selected";
        }
        if (const frmValveSheet* sheet = forms().find<frmValveSheet>()) {
            // A row shows whole; a plan on show has a line for every row, and a box about a
            // field took the last plan away (a box about valves out of range and one about
            // copying stand beside the plan).
            const bool planned = !textBox(*sheet, "txtBuy").text().empty();
            ASSERT_FALSE(planned && !shown.empty() && shown[0].caption == "Valve Sheet" &&
                         shown[0].text.find("copied") == std::string::npos &&
                         shown[0].text.find("into range") == std::string::npos)
                << "a plan left beside a box about its input";
            for (std::size_t i = 1; i <= kMostValves; ++i) {
                const std::string n = std::to_string(i);
                const bool row = label(*sheet, ("lblValve" + n).c_str()).visible();
                const runtime::TextBox plan = textBox(*sheet, ("txtPlan" + n).c_str());
                ASSERT_EQ(textBox(*sheet, ("txtShim" + n).c_str()).visible(), row) << "row " << n;
                ASSERT_EQ(plan.visible(), row) << "row " << n;
                if (row) {
                    ASSERT_EQ(plan.text().empty(), !planned) << "row " << n;
                }
            }
        }
    }
};

// Puts a presenter in place for the scope, and the previous one back after it.
class PresenterScope {
public:
    explicit PresenterScope(runtime::MsgBoxPresenter presenter)
        : previous_(runtime::setMsgBoxPresenter(std::move(presenter))) {}
    ~PresenterScope() { runtime::setMsgBoxPresenter(std::move(previous_)); }
    PresenterScope(const PresenterScope&) = delete;
    PresenterScope& operator=(const PresenterScope&) = delete;

private:
    runtime::MsgBoxPresenter previous_;
};

TEST_P(Monkey, KeepsEveryWindowRule) {
    unsigned seed = GetParam();
    int actions = 2000;
    if (const char* replay = std::getenv("CLEARMARK_MONKEY_SEED"); replay != nullptr && *replay)
        seed = unsigned(std::strtoul(replay, nullptr, 10));
    if (const char* count = std::getenv("CLEARMARK_MONKEY_ACTIONS"); count != nullptr && *count)
        actions = std::atoi(count);
    random.seed(seed);

    const PresenterScope presenter([this](const MsgBoxRequest& request) {
        shown.push_back(request);
        ++boxCount;
        if (request.buttons == MsgButtons::OKCancel)
            return chance(8) ? MsgAnswer::OK : MsgAnswer::Cancel;
        return MsgAnswer::OK;
    });
    start();
    int ends = 0;
    int done = 0;
    for (int i = 0; i < actions && !HasFailure(); ++i, ++done) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", action " + std::to_string(i) +
                     " (replay: CLEARMARK_MONKEY_SEED=" + std::to_string(seed) + ")");
        act();
        checkInvariants();
        if (programEnds > 0) { // the run ended as the user asked: start the program again
            ++ends;
            programEnds = 0;
            input().settle();
            start();
        }
    }
    if (actions >= 100) {
        EXPECT_GT(boxCount, 0) << "the monkey never pressed a button that answers";
    }
    std::printf("monkey seed %u: %d actions, %d boxes answered, %d ends of the program\n", seed,
                done, boxCount, ends);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Monkey, ::testing::Values(1u, 7u, 42u, 1975u, 20261208u));

} // namespace
} // namespace clearmark
