// The window runtime's own rules, toolkit-free: twips, the application's title and version,
// loading, showing, hiding and unloading windows, the end of the program and the message
// box seam.
#include "runtime/appinfo.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"
#include "runtime/program.h"
#include "runtime/twips.h"
#include "support/gui_support.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace clearmark::runtime {
namespace {

using testing_support::GuiTest;
using testing_support::Key;

// clang-format off
constexpr ControlDesign kProbeControls[] = {
//   name         kind                        caption  left   top width height tab
    {"lblInfo",   ControlKind::Label,         "Info",    0,    0,  1500,  255,  0},
    {"txtSecond", ControlKind::TextBox,       "",      120,  600,  1500,  375,  2},
    {"txtFirst",  ControlKind::TextBox,       "",      120,  240,  1500,  375,  1},
    {"optA",      ControlKind::OptionButton,  "A",     120, 1000,   900,  255,  3},
    {"optB",      ControlKind::OptionButton,  "B",     120, 1300,   900,  255,  4},
    {"cmdDone",   ControlKind::CommandButton, "Done", 1800, 1000,   900,  375,  5},
    // First in the tab order, but hidden: it takes the focus only once it is shown.
    {"txtHidden", ControlKind::TextBox,       "",     1800,  240,  1000,  375,  0, {}, Visibility::Hidden},
    {"chkTidy",   ControlKind::CheckBox,      "Tidy", 1800, 1500,  1100,  255,  6},
    // Read-only, after txtFirst by its index, but Tab passes it by.
    {"txtShown",  ControlKind::TextBox,       "seen", 1800,  600,  1000,  375,  1, {}, {}, {}, {}, true},
    // Disabled until the window enables it.
    {"cmdNext",   ControlKind::CommandButton, "Next",  120, 1600,   900,  375,  7, {}, {}, {}, {}, false, false},
};
// clang-format on

constexpr MenuEntryDesign kProbeEntries[] = {
    {.name = "mnuPing", .caption = "Ping"},
    {.name = "mnuNew", .caption = "&New", .shortcut = Shortcut{'G'}}};
constexpr MenuEntryDesign kMoreEntries[] = {{.name = "mnuPong", .caption = "Pong"}};
constexpr MenuDesign kProbeMenus[] = {
    {.name = "mnuProbe", .caption = "Probe", .entries = kProbeEntries},
    {.name = "mnuMore", .caption = "More", .entries = kMoreEntries}};

constexpr WindowDesign kProbeWindow{
    .name = "frmProbe",
    .caption = "Probe",
    .clientWidth = 3000,
    .clientHeight = 2000,
    .controls = kProbeControls,
    .start = StartPosition{.left = 1830, .top = 1425},
    .menus = kProbeMenus,
    .defaultButton = "cmdDone",
    .cancelButton = "cmdDone",
};

// A small window for the runtime's load, show, hide and unload rules; it counts what the
// runtime does to it.
class frmProbe : public Form {
public:
    static inline int loads = 0;
    static inline int unloads = 0;
    static inline int destroyed = 0;
    static inline int pings = 0;
    static inline int pongs = 0;
    static inline int news = 0;
    // How many closes by the user the window refuses yet, and how often it was asked.
    static inline int refuseCloses = 0;
    static inline int queries = 0;
    // What the handlers saw: the check box's value at each click, the box and its text at each
    // change.
    static inline std::vector<bool> tidyClicks;
    static inline std::vector<std::string> changes;
    // Whether the window still existed when its own Done handler, which unloads it, ended.
    static inline bool aliveAtEndOfDone = false;

    frmProbe() : Form(kProbeWindow) {
        onClick(control<CommandButton>("cmdDone"), &frmProbe::cmdDone_Click);
        onClick(control<MenuItem>("mnuPing"), &frmProbe::mnuPing_Click);
        onClick(control<MenuItem>("mnuPong"), [] { ++pongs; });
        onClick(control<MenuItem>("mnuNew"), [] { ++news; });
        onClick(control<CheckBox>("chkTidy"),
                [this] { tidyClicks.push_back(control<CheckBox>("chkTidy").value()); });
        for (const char* name : {"txtFirst", "txtShown"})
            onChange(control<TextBox>(name), [this, name] {
                changes.push_back(std::string(name) + ":" + control<TextBox>(name).text());
            });
    }
    ~frmProbe() override { ++destroyed; }
    frmProbe(const frmProbe&) = delete;
    frmProbe& operator=(const frmProbe&) = delete;

    static void resetCounts() {
        loads = unloads = destroyed = pings = pongs = news = refuseCloses = queries = 0;
        aliveAtEndOfDone = false;
        tidyClicks.clear();
        changes.clear();
    }

    void cmdDone_Click() {
        const int before = destroyed;
        forms().unload(*this);
        aliveAtEndOfDone = destroyed == before;
    }
    void mnuPing_Click() { ++pings; }

protected:
    void Form_Load() override { ++loads; }
    bool Form_QueryUnload() override {
        ++queries;
        if (refuseCloses == 0)
            return true;
        --refuseCloses;
        return false;
    }
    void Form_Unload() override { ++unloads; }
};

TEST(Twips, FifteenToAPixelRoundedHalfAwayFromZero) {
    const std::tuple<int, int, int> cases[] = {
        // twips, dots per inch, pixels
        {0, 96, 0},       {15, 96, 1},      {7, 96, 0},    {8, 96, 1},     {7440, 96, 496},
        {3210, 96, 214},  {5654, 96, 377},  {-15, 96, -1}, {-8, 96, -1},   {-7, 96, 0},
        {1830, 96, 122},  {1425, 96, 95},   {15, 144, 2},  {-15, 144, -2}, {1440, 144, 144},
        {1440, 120, 120}, {7440, 192, 992}, {5, 144, 1},   {4, 144, 0},
    };
    for (const auto& [twips, dpi, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << " twips at " << dpi << " dpi";
    // Without a density, the screen of 96 dots per inch.
    EXPECT_EQ(twipsToPixels(5654), 377);
    EXPECT_EQ(twipsToPixels(-8), -1);
    EXPECT_EQ(1440 / kTwipsPerPixel, 96);
}

TEST(AppInfo, TitleAndVersionFromTheProject) {
    EXPECT_EQ(appTitle(), "Clearmark");
    const AppVersion version = appVersion();
    EXPECT_EQ(formatVersion(version), "1.0.0");
    EXPECT_EQ(formatVersion({2, 3, 14}), "2.3.14");
    EXPECT_EQ(formatVersion({10, 0, 0}), "10.0.0");
    EXPECT_EQ(formatVersion({0, 12, 305}), "0.12.305");
}

class FormsRules : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        frmProbe::resetCounts();
    }
    static TextBox first(const Form& form) { return form.control<TextBox>("txtFirst"); }
};

TEST_F(FormsRules, LoadCreatesOnceAndRunsFormLoadOnce) {
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    frmProbe& loaded = forms().load<frmProbe>();
    EXPECT_EQ(forms().find<frmProbe>(), &loaded);
    EXPECT_EQ(frmProbe::loads, 1);
    EXPECT_FALSE(loaded.visible());
    EXPECT_EQ(&forms().load<frmProbe>(), &loaded);
    EXPECT_EQ(&forms().show<frmProbe>(), &loaded);
    EXPECT_EQ(&forms().show<frmProbe>(), &loaded);
    EXPECT_EQ(frmProbe::loads, 1);
    EXPECT_TRUE(loaded.visible());
    EXPECT_EQ(loaded.caption(), "Probe");
    EXPECT_EQ(frmProbe::unloads, 0);
    EXPECT_EQ(frmProbe::destroyed, 0);
}

TEST_F(FormsRules, HideLoadsWhenNeededAndKeepsTheWindowWithItsContent) {
    frmProbe& hidden = forms().hide<frmProbe>();
    EXPECT_EQ(frmProbe::loads, 1);
    EXPECT_FALSE(hidden.visible());

    frmProbe& form = forms().show<frmProbe>();
    EXPECT_EQ(&form, &hidden);
    input().type(first(form), "kept");
    forms().hide<frmProbe>();
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(forms().find<frmProbe>(), &form);
    EXPECT_EQ(&forms().show<frmProbe>(), &form);
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(first(form).text(), "kept");
    EXPECT_EQ(frmProbe::loads, 1);
    EXPECT_EQ(frmProbe::unloads, 0);
}

TEST_F(FormsRules, TitleBarCloseUnloadsAndTheNextUseLoadsAfresh) {
    frmProbe& form = forms().show<frmProbe>();
    input().type(first(form), "lost");
    input().close(form);
    EXPECT_EQ(frmProbe::unloads, 1);
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    input().settle();
    EXPECT_EQ(frmProbe::destroyed, 1);

    frmProbe& again = forms().show<frmProbe>();
    EXPECT_EQ(frmProbe::loads, 2);
    EXPECT_EQ(first(again).text(), "");
    EXPECT_TRUE(again.visible());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(FormsRules, UnloadRunsTheUnloadStepOnceAndOnlyForALoadedWindow) {
    forms().unload<frmProbe>(); // not loaded: nothing to do
    EXPECT_EQ(frmProbe::unloads, 0);
    EXPECT_EQ(frmProbe::loads, 0);

    forms().show<frmProbe>();
    forms().unload<frmProbe>();
    EXPECT_EQ(frmProbe::unloads, 1);
    EXPECT_EQ(frmProbe::destroyed, 1);
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    forms().unload<frmProbe>();
    EXPECT_EQ(frmProbe::unloads, 1);
}

TEST_F(FormsRules, AWindowUnloadingItselfFromItsHandlerGoesOnceTheHandlerHasReturned) {
    frmProbe& form = forms().show<frmProbe>();
    input().click(form.control<CommandButton>("cmdDone"));
    EXPECT_TRUE(frmProbe::aliveAtEndOfDone);
    EXPECT_EQ(frmProbe::unloads, 1);
    EXPECT_EQ(frmProbe::destroyed, 1);
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    input().settle();
    EXPECT_EQ(programEnds, 0);
}

TEST_F(FormsRules, MenuEntriesRunTheirHandlers) {
    frmProbe& form = forms().show<frmProbe>();
    const auto ping = form.control<MenuItem>("mnuPing");
    EXPECT_EQ(ping.caption(), "Ping");
    input().choose(ping);
    input().choose(ping);
    input().choose(form.control<MenuItem>("mnuPong"));
    EXPECT_EQ(frmProbe::pings, 2);
    EXPECT_EQ(frmProbe::pongs, 1);
}

TEST_F(FormsRules, AWindowMayRefuseTheUsersCloseAndStaysAsItWas) {
    frmProbe& form = forms().show<frmProbe>();
    input().type(first(form), "kept");
    frmProbe::refuseCloses = 1;
    input().close(form);
    input().settle();
    EXPECT_EQ(frmProbe::queries, 1);
    EXPECT_EQ(forms().find<frmProbe>(), &form);
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(first(form).text(), "kept");
    EXPECT_EQ(focused(form), "txtFirst");
    EXPECT_EQ(frmProbe::unloads, 0);
    EXPECT_EQ(frmProbe::destroyed, 0);
    // Asked again, it lets the window go.
    input().close(form);
    input().settle();
    EXPECT_EQ(frmProbe::queries, 2);
    EXPECT_EQ(frmProbe::unloads, 1);
    EXPECT_EQ(frmProbe::destroyed, 1);
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    EXPECT_EQ(programEnds, 0);
}

// The program's own unload is not the user's close: the window is not asked.
TEST_F(FormsRules, TheWindowIsNotAskedWhenTheProgramUnloadsIt) {
    const std::pair<const char*, std::function<void(frmProbe&)>> ways[] = {
        {"Esc, the cancel button",
         [](frmProbe& form) {
             press(form, Key::Escape);
         }},
        {"Enter, the default button",
         [](frmProbe& form) {
             press(form, Key::Enter);
         }},
        {"a click on Done",
         [](frmProbe& form) {
             input().click(form.control<CommandButton>("cmdDone"));
         }},
        {"forms().unload",
         [](frmProbe& form) {
             forms().unload(form);
         }},
    };
    for (const auto& [way, unload] : ways) {
        frmProbe::resetCounts();
        frmProbe::refuseCloses = 1;
        unload(forms().show<frmProbe>());
        input().settle();
        EXPECT_EQ(frmProbe::queries, 0) << way;
        EXPECT_EQ(frmProbe::unloads, 1) << way;
        EXPECT_EQ(forms().find<frmProbe>(), nullptr) << way;
    }
}

TEST_F(FormsRules, ADisabledButtonTakesNoClickEnterNorSpaceAndHandsTheFocusOn) {
    frmProbe& form = forms().show<frmProbe>();
    const auto done = form.control<CommandButton>("cmdDone");
    ASSERT_TRUE(tabTo(form, "cmdDone"));
    done.setEnabled(false);
    EXPECT_FALSE(done.enabled());
    EXPECT_EQ(focused(form), "chkTidy"); // the next Tab stop
    press(form, Key::Space);             // the check box's
    input().click(done);
    press(form, Key::Enter);
    press(form, Key::Escape);
    input().settle();
    EXPECT_EQ(forms().find<frmProbe>(), &form);
    EXPECT_EQ(frmProbe::unloads, 0);
    EXPECT_EQ(frmProbe::tidyClicks, std::vector<bool>{true});
    EXPECT_EQ(focusAfterEach(form, Key::Tab, 4),
              (std::vector<std::string>{"txtFirst", "txtSecond", "optA", "chkTidy"}));

    // Enabled again, Tab reaches it and Space presses it.
    done.setEnabled(true);
    EXPECT_TRUE(done.enabled());
    EXPECT_EQ(focusAfterEach(form, Key::ShiftTab, 1), std::vector<std::string>{"cmdDone"});
    press(form, Key::Space);
    EXPECT_EQ(frmProbe::unloads, 1);
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
}

// Tab passes disabled controls by, a control the design disables among them, and the option
// buttons' stop moves to one that is enabled; enabled again, they are stops again.
TEST_F(FormsRules, TabPassesDisabledControlsBy) {
    frmProbe& form = forms().show<frmProbe>();
    const auto next = form.control<CommandButton>("cmdNext");
    const auto second = form.control<TextBox>("txtSecond");
    const auto optA = form.control<OptionButton>("optA");
    EXPECT_FALSE(next.enabled());
    EXPECT_TRUE(second.enabled());
    second.setEnabled(false);
    optA.setEnabled(false);
    ASSERT_EQ(focused(form), "txtFirst");
    EXPECT_EQ(focusAfterEach(form, Key::Tab, 4),
              (std::vector<std::string>{"optB", "cmdDone", "chkTidy", "txtFirst"}));
    EXPECT_EQ(focusAfterEach(form, Key::ShiftTab, 2),
              (std::vector<std::string>{"chkTidy", "cmdDone"}));

    next.setEnabled(true);
    second.setEnabled(true);
    optA.setEnabled(true);
    ASSERT_TRUE(tabTo(form, "txtFirst"));
    EXPECT_EQ(focusAfterEach(form, Key::Tab, 6),
              (std::vector<std::string>{"txtSecond", "optA", "cmdDone", "chkTidy", "cmdNext",
                                        "txtFirst"}));
}

// Ctrl and the letter choose the entry from wherever the focus is in the window; a disabled
// entry (disabled even before its window was on the screen) can be chosen neither from the menu
// nor by its shortcut key.
TEST_F(FormsRules, AShortcutKeyChoosesItsEntryUnlessTheEntryIsDisabled) {
    frmProbe& loaded = forms().load<frmProbe>();
    const auto entry = loaded.control<MenuItem>("mnuNew");
    EXPECT_EQ(entry.caption(), "&New");
    EXPECT_TRUE(entry.enabled());
    entry.setEnabled(false);
    frmProbe& form = forms().show<frmProbe>();
    input().choose(entry);
    input().pressCtrl(form, 'g');
    EXPECT_FALSE(entry.enabled());
    EXPECT_EQ(frmProbe::news, 0);
    input().choose(form.control<MenuItem>("mnuPing")); // the others are not
    EXPECT_EQ(frmProbe::pings, 1);

    entry.setEnabled(true);
    input().pressCtrl(form, 'g'); // the focus in a text box
    EXPECT_EQ(frmProbe::news, 1);
    EXPECT_EQ(first(form).text(), "");
    input().choose(entry);
    ASSERT_TRUE(tabTo(form, "cmdDone"));
    input().pressCtrl(form, 'G');
    EXPECT_EQ(frmProbe::news, 3);
    input().pressCtrl(form, 'q'); // no entry's
    EXPECT_EQ(frmProbe::news, 3);
    EXPECT_EQ(frmProbe::pings + frmProbe::pongs, 1);

    entry.setEnabled(false);
    input().choose(entry);
    input().pressCtrl(form, 'g');
    EXPECT_EQ(frmProbe::news, 3);
    EXPECT_EQ(forms().find<frmProbe>(), &form);
}

TEST_F(FormsRules, ControlsAreFoundByNameAndKindOnly) {
    const frmProbe& form = forms().load<frmProbe>();
    EXPECT_EQ(form.control<TextBox>("txtFirst").name(), "txtFirst");
    EXPECT_EQ(form.control<Label>("lblInfo").caption(), "Info");
    EXPECT_EQ(form.control<OptionButton>("optB").caption(), "B");
    EXPECT_EQ(form.control<CommandButton>("cmdDone").caption(), "Done");
    EXPECT_THROW(form.control<TextBox>("txtNone"), std::logic_error);
    EXPECT_THROW(form.control<TextBox>("TXTFIRST"), std::logic_error);
    EXPECT_THROW(form.control<Label>("txtFirst"), std::logic_error);
    EXPECT_THROW(form.control<CommandButton>("optA"), std::logic_error);
    EXPECT_THROW(form.control<CommandButton>("mnuPing"), std::logic_error);
    EXPECT_THROW(form.control<MenuItem>("mnuProbe"), std::logic_error); // the menu, no entry

    // Every control in stored order, then the menu's entries.
    std::vector<std::string> names;
    for (const Control& control : form.controls())
        names.push_back(control.name());
    EXPECT_EQ(names, (std::vector<std::string>{"lblInfo", "txtSecond", "txtFirst", "optA", "optB",
                                               "cmdDone", "txtHidden", "chkTidy", "txtShown",
                                               "cmdNext", "mnuPing", "mnuNew", "mnuPong"}));
    // Labels and read-only boxes never take the focus from Tab; the others by their tab indexes.
    std::vector<std::string> order;
    for (const Control& control : form.tabOrder())
        order.push_back(control.name());
    EXPECT_EQ(order, (std::vector<std::string>{"txtHidden", "txtFirst", "txtSecond", "optA", "optB",
                                               "cmdDone", "chkTidy", "cmdNext"}));
}

TEST_F(FormsRules, FocusGoesToTheFirstControlThatCanTakeItAndTabFollowsTheIndexes) {
    const frmProbe& form = forms().show<frmProbe>();
    EXPECT_EQ(focused(form), "txtFirst"); // the hidden box comes first, but cannot take it
    // The option buttons are one stop: the first while none is selected. The read-only box
    // after txtFirst is passed by.
    EXPECT_EQ(focusAfterEach(form, Key::Tab, 5),
              (std::vector<std::string>{"txtSecond", "optA", "cmdDone", "chkTidy", "txtFirst"}));
    EXPECT_EQ(focusAfterEach(form, Key::ShiftTab, 3),
              (std::vector<std::string>{"chkTidy", "cmdDone", "optA"}));

    // Shown, the hidden box joins the order in its place.
    form.control<TextBox>("txtHidden").setVisible(true);
    ASSERT_TRUE(tabTo(form, "chkTidy"));
    EXPECT_EQ(focusAfterEach(form, Key::Tab, 2),
              (std::vector<std::string>{"txtHidden", "txtFirst"}));

    // Showing a visible window again leaves the focus where it is.
    press(form, Key::Tab);
    ASSERT_EQ(focused(form), "txtSecond");
    forms().show<frmProbe>();
    EXPECT_EQ(focused(form), "txtSecond");
}

TEST_F(FormsRules, OptionButtonsExcludeEachOtherAndCanAllBeCleared) {
    const frmProbe& form = forms().show<frmProbe>();
    const auto a = form.control<OptionButton>("optA");
    const auto b = form.control<OptionButton>("optB");
    EXPECT_FALSE(a.value());
    EXPECT_FALSE(b.value());
    a.setValue(true);
    b.setValue(true);
    EXPECT_FALSE(a.value());
    EXPECT_TRUE(b.value());
    b.setValue(false);
    EXPECT_FALSE(a.value());
    EXPECT_FALSE(b.value());
    // The group still excludes after being cleared, by code and by the user alike.
    a.setValue(true);
    b.setValue(true);
    EXPECT_FALSE(a.value());
    EXPECT_TRUE(b.value());
    input().click(a);
    EXPECT_TRUE(a.value());
    EXPECT_FALSE(b.value());
    a.setValue(false);
    input().click(b);
    EXPECT_FALSE(a.value());
    EXPECT_TRUE(b.value());
}

TEST_F(FormsRules, TheUsersClickAndSpaceToggleACheckBoxAndRunItsHandlerButSetValueDoesNot) {
    frmProbe& form = forms().show<frmProbe>();
    const auto tidy = form.control<CheckBox>("chkTidy");
    tidy.setValue(true);
    EXPECT_TRUE(tidy.value());
    input().click(tidy);
    input().click(tidy);
    tidy.setValue(false);
    ASSERT_TRUE(tabTo(form, "chkTidy"));
    press(form, Key::Space);
    EXPECT_TRUE(tidy.value());
    // The value each run of the handler saw: the clicks' and the Space's only.
    EXPECT_EQ(frmProbe::tidyClicks, (std::vector<bool>{false, true, true}));
}

TEST_F(FormsRules, ChangeRunsForTheUsersTypingDeletingAndPastingButNotForSetText) {
    frmProbe& form = forms().show<frmProbe>();
    const TextBox box = first(form);
    box.setText("ab");
    input().type(box, "cd");
    press(form, Key::Backspace); // in the box, which holds the focus
    input().setClipboardText("ef");
    input().paste(box);
    box.setText("");
    EXPECT_EQ(frmProbe::changes, (std::vector<std::string>{"txtFirst:abc", "txtFirst:abcd",
                                                           "txtFirst:abc", "txtFirst:abcef"}));
}

TEST_F(FormsRules, AReadOnlyBoxRefusesTheUsersTextAndTabGoesOnFromItsPlace) {
    frmProbe& form = forms().show<frmProbe>();
    const TextBox shown = form.control<TextBox>("txtShown");
    input().type(shown, "typed");
    input().setClipboardText("pasted");
    input().paste(shown); // which leaves it holding the focus
    EXPECT_EQ(shown.text(), "seen");
    shown.setText("written");
    EXPECT_EQ(shown.text(), "written");
    EXPECT_TRUE(frmProbe::changes.empty());
    EXPECT_EQ(focusAfterEach(form, Key::Tab, 1), std::vector<std::string>{"txtSecond"});
}

TEST_F(FormsRules, EndingTheProgramRemovesEveryWindowWithoutHandlers) {
    forms().show<frmProbe>();
    EXPECT_FALSE(programHasEnded());
    endProgram();
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(programHasEnded());
    EXPECT_EQ(frmProbe::unloads, 0);
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    EXPECT_EQ(frmProbe::destroyed, 1);
    input().settle();
    endProgram(); // a second end changes nothing
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(frmProbe::destroyed, 1);
}

TEST_F(FormsRules, NoHandlerRunsOnceTheProgramHasEndedUntilTheNextRun) {
    int ran = 0;
    dispatch([&ran] { ++ran; });
    EXPECT_EQ(ran, 1);
    endProgram();
    dispatch([&ran] { ++ran; });
    EXPECT_EQ(ran, 1);
    beginProgram();
    EXPECT_FALSE(programHasEnded());
    dispatch([&ran] { ++ran; });
    EXPECT_EQ(ran, 2);
}

// The answer a box gave to what follows it.
std::optional<MsgAnswer> answerTo(std::string_view text, MsgButtons buttons = MsgButtons::OK,
                                  MsgIcon icon = MsgIcon::None,
                                  std::optional<std::string_view> caption = {}) {
    std::optional<MsgAnswer> answer;
    msgBox(text, buttons, icon, caption, [&answer](MsgAnswer a) { answer = a; });
    return answer;
}

TEST(MsgBoxSeam, CaptionDefaultsToTheApplicationTitle) {
    std::vector<MsgBoxRequest> seen;
    const MsgBoxPresenter previous = setMsgBoxPresenter([&](const MsgBoxRequest& request) {
        seen.push_back(request);
        return seen.size() == 1 ? MsgAnswer::Cancel : MsgAnswer::OK;
    });
    EXPECT_EQ(answerTo("one"), MsgAnswer::Cancel);
    EXPECT_EQ(answerTo("two", MsgButtons::OKCancel, MsgIcon::Information, "Own"), MsgAnswer::OK);
    msgBox("", MsgButtons::OK, MsgIcon::Critical, "");
    EXPECT_EQ(answerTo("three?", MsgButtons::YesNoCancel, MsgIcon::Question, "Ask"), MsgAnswer::OK);
    setMsgBoxPresenter(previous);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], (MsgBoxRequest{"one", "Clearmark", MsgButtons::OK, MsgIcon::None}));
    EXPECT_EQ(seen[1], (MsgBoxRequest{"two", "Own", MsgButtons::OKCancel, MsgIcon::Information}));
    // An empty caption is a caption: only a missing one becomes the title.
    EXPECT_EQ(seen[2], (MsgBoxRequest{"", "", MsgButtons::OK, MsgIcon::Critical}));
    EXPECT_EQ(seen[3],
              (MsgBoxRequest{"three?", "Ask", MsgButtons::YesNoCancel, MsgIcon::Question}));
}

TEST(MsgBoxSeam, InstallingAPresenterReturnsThePreviousOne) {
    int firstCalls = 0;
    int secondCalls = 0;
    const MsgBoxPresenter original = setMsgBoxPresenter([&](const MsgBoxRequest&) {
        ++firstCalls;
        return MsgAnswer::OK;
    });
    const MsgBoxPresenter first = setMsgBoxPresenter([&](const MsgBoxRequest&) {
        ++secondCalls;
        return MsgAnswer::No;
    });
    EXPECT_EQ(answerTo("to the second"), MsgAnswer::No);
    setMsgBoxPresenter(first);
    EXPECT_EQ(answerTo("to the first"), MsgAnswer::OK);
    setMsgBoxPresenter(original);
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 1);
}

// What follows a box runs once it has closed, as a handler: the box counts as open until
// then, a chained question opens its own box, and nothing follows once the program has ended.
TEST_F(FormsRules, WhatFollowsABoxRunsOnceItHasClosedAndMayAskAgain) {
    std::vector<std::string> events;
    boxes.whileShown([&](const MsgBoxRequest& request) {
        events.push_back("box " + request.text + (msgBoxOpen() ? " open" : " closed"));
    });
    boxes.answerNext(MsgAnswer::Yes);
    msgBox("save?", MsgButtons::YesNoCancel, MsgIcon::Question, {}, [&](MsgAnswer answer) {
        events.push_back(std::string("then ") + (answer == MsgAnswer::Yes ? "yes" : "other") +
                         (msgBoxOpen() ? " open" : " closed"));
        msgBox("saved", [&](MsgAnswer) { events.push_back("then saved"); });
    });
    endProgram();
    msgBox("after the end", [&](MsgAnswer) { events.push_back("then after the end"); });
    boxes.whileShown(nullptr);
    const std::vector<std::string> expected = {"box save? open", "then yes closed",
                                               "box saved open", "then saved",
                                               "box after the end open"};
    EXPECT_EQ(events, expected);
    EXPECT_FALSE(msgBoxOpen());
}

// While a box is open the program's windows take no input: a click, a change and a close
// that reach a window then run no handler.
TEST_F(FormsRules, NoWindowTakesInputWhileABoxIsOpen) {
    frmProbe& form = forms().show<frmProbe>();
    boxes.whileShown([&](const MsgBoxRequest&) {
        input().click(form.control<CheckBox>("chkTidy"));
        input().type(first(form), "x");
        input().close(form);
        input().settle();
    });
    msgBox("busy");
    boxes.whileShown(nullptr);
    EXPECT_TRUE(frmProbe::tidyClicks.empty());
    EXPECT_TRUE(frmProbe::changes.empty());
    EXPECT_EQ(frmProbe::unloads, 0);
    // Once it has closed, they take it again.
    input().click(form.control<CheckBox>("chkTidy"));
    EXPECT_EQ(frmProbe::tidyClicks.size(), 1u);
}

} // namespace
} // namespace clearmark::runtime
