// The keyboard's and captions' rules as the runtime decides them for every implementation;
// the windows' tests press the real keys.
#include "runtime/implementation.h"
#include "runtime/keyboard.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace clearmark::runtime {
namespace {

// A control standing for any implementation's: its kind and its state only.
class FakePeer final : public ControlPeer {
public:
    FakePeer(const char* name, ControlKind kind, bool value = false)
        : ControlPeer(name, kind), value_(value) {}
    std::string text() const override { return {}; }
    void setText(const std::string&) override {}
    bool visible() const override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    void move(int, int) override {}
    bool value() const override { return value_; }
    void setValue(bool value) override { value_ = value; }
    bool canTakeFocus() const override { return true; }
    void setFocus() override {}

private:
    bool value_;
    bool visible_ = true;
    bool enabled_ = true;
};

TEST(KeyboardRules, AccessKeysAndTheCaptionWithoutTheirMarks) {
    struct Case {
        std::string_view caption;
        std::optional<char> key;
        std::string reads;
    };
    const Case cases[] = {
        {"&System Info...", 's', "System Info..."},
        {"E&xit", 'x', "Exit"},
        {"Plan", std::nullopt, "Plan"},
        {"Fish && Chips", std::nullopt, "Fish & Chips"},
        {"Fish && &Chips", 'c', "Fish & Chips"},
        {"Trailing &", std::nullopt, "Trailing &"},
        {"", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(accessKeyOf(c.caption), c.key) << c.caption;
        EXPECT_EQ(withoutAccessKeyMarks(c.caption), c.reads) << c.caption;
    }
}

TEST(KeyboardRules, ARunOfBlanksEndsAParagraph) {
    struct Case {
        std::string_view caption;
        std::vector<std::string_view> paragraphs;
    };
    const Case cases[] = {
        {"One line", {"One line"}},
        {"First.  Second.", {"First.", "Second."}},
        {"First.      Second. Still second.   Third", {"First.", "Second. Still second.", "Third"}},
        {"Closed by blanks.   ", {"Closed by blanks."}},
        {"", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paragraphsOf(c.caption), c.paragraphs) << c.caption;
}

TEST(KeyboardRules, EnterPressesTheFocusedButtonElseTheDefaultAndEscTheCancel) {
    FakePeer focusedButton("cmdFocused", ControlKind::CommandButton);
    FakePeer box("txtBox", ControlKind::TextBox);
    FakePeer ok("cmdOK", ControlKind::CommandButton);
    FakePeer cancel("cmdCancel", ControlKind::CommandButton);
    EXPECT_EQ(buttonForKey(WindowKey::Enter, &focusedButton, &ok, &cancel), &focusedButton);
    EXPECT_EQ(buttonForKey(WindowKey::Enter, &box, &ok, &cancel), &ok);
    EXPECT_EQ(buttonForKey(WindowKey::Enter, nullptr, &ok, &cancel), &ok);
    EXPECT_EQ(buttonForKey(WindowKey::Enter, &box, nullptr, &cancel), nullptr);
    EXPECT_EQ(buttonForKey(WindowKey::Escape, &focusedButton, &ok, &cancel), &cancel);
    EXPECT_EQ(buttonForKey(WindowKey::Escape, &box, &ok, nullptr), nullptr);
    // A disabled button is pressed by neither key.
    ok.setEnabled(false);
    cancel.setEnabled(false);
    EXPECT_EQ(buttonForKey(WindowKey::Enter, &box, &ok, &cancel), nullptr);
    EXPECT_EQ(buttonForKey(WindowKey::Escape, &box, &ok, &cancel), nullptr);
}

// Ctrl and a letter choose the first shown and enabled entry that has it, in the menus'
// order, whatever the letter's case; the menu reads it as "Ctrl+N".
TEST(KeyboardRules, AShortcutKeyChoosesTheFirstUsableEntryThatHasIt) {
    FakePeer newJob("mnuNew", ControlKind::MenuItem);
    FakePeer open("mnuOpen", ControlKind::MenuItem);
    FakePeer plain("mnuPlain", ControlKind::MenuItem);
    FakePeer renew("mnuRenew", ControlKind::MenuItem);
    const MenuEntryDesign file[] = {{"mnuNew", "&New", Shortcut{'N'}},
                                    {"mnuOpen", "&Open...", Shortcut{'o'}},
                                    {"mnuPlain", "Plain"}};
    const MenuEntryDesign more[] = {{"mnuRenew", "&Renew", Shortcut{'N'}}};
    const MenuDesign menus[] = {{"mnuFile", "&File", file}, {"mnuMore", "More", more}};
    ControlPeer* const entries[] = {&newJob, &open, &plain, &renew};
    struct Case {
        const char* state; // what was done before the key
        std::function<void()> before;
        char letter;
        ControlPeer* chosen;
    };
    const Case cases[] = {
        {"as designed", [] {}, 'n', &newJob},
        {"as designed", [] {}, 'N', &newJob},
        {"as designed", [] {}, 'O', &open},
        {"as designed", [] {}, 'P', nullptr},
        {"New disabled", [&] { newJob.setEnabled(false); }, 'n', &renew},
        {"Renew hidden too", [&] { renew.setVisible(false); }, 'n', nullptr},
        {"Open disabled", [&] { open.setEnabled(false); }, 'o', nullptr},
        {"New enabled again", [&] { newJob.setEnabled(true); }, 'n', &newJob},
    };
    for (const Case& c : cases) {
        c.before();
        EXPECT_EQ(entryForShortcut(menus, entries, c.letter), c.chosen)
            << c.state << ", Ctrl+" << c.letter;
    }
    // The peers of fewer entries than the design holds: those without a peer are never chosen.
    EXPECT_EQ(entryForShortcut(menus, std::span<ControlPeer* const>(entries, 1), 'o'), nullptr);
    EXPECT_EQ(shortcutText(Shortcut{'n'}), "Ctrl+N");
    EXPECT_EQ(shortcutText(Shortcut{'S'}), "Ctrl+S");
}

// Tab goes by tab index, passes read-only boxes by, and stops once at the option buttons: at
// the selected one, else the first; the focus comes back to the control that last had it
// while it can take it.
TEST(KeyboardRules, TabOrderStopsAndTheFocusGivenBack) {
    FakePeer first("txtFirst", ControlKind::TextBox);
    FakePeer shown("txtShown", ControlKind::TextBox);
    FakePeer optA("optA", ControlKind::OptionButton);
    FakePeer optB("optB", ControlKind::OptionButton);
    FakePeer done("cmdDone", ControlKind::CommandButton);
    const ControlDesign designs[] = {
        {"cmdDone", ControlKind::CommandButton, "Done", 0, 0, 10, 10, 5},
        {"lblInfo", ControlKind::Label, "Info", 0, 0, 10, 10, 0},
        {"optB", ControlKind::OptionButton, "B", 0, 0, 10, 10, 4},
        {"optA", ControlKind::OptionButton, "A", 0, 0, 10, 10, 3},
        {"txtFirst", ControlKind::TextBox, "", 0, 0, 10, 10, 1},
        {"txtShown", ControlKind::TextBox, "", 0, 0, 10, 10, 1, {}, {}, {}, {}, true},
    };
    ControlPeer* const peers[] = {&done, nullptr, &optB, &optA, &first, &shown};
    const KeyboardOrder order = keyboardOrder(designs, peers);
    std::vector<std::string> names;
    for (const KeyStop& stop : order)
        names.push_back(stop.control->name() + (stop.passedBy ? " (passed by)" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"txtFirst", "txtShown (passed by)", "optA", "optB",
                                               "cmdDone"}));
    const auto any = [](const ControlPeer&) {
        return true;
    };
    const auto tabsFrom = [&](const ControlPeer* from) {
        std::vector<std::string> reached;
        for (int i = 0; i < 4; ++i) {
            from = nextTabStop(order, from, true, any);
            reached.push_back(from->name());
        }
        return reached;
    };
    EXPECT_EQ(tabsFrom(nullptr),
              (std::vector<std::string>{"txtFirst", "optA", "cmdDone", "txtFirst"}));
    optB.setValue(true);
    EXPECT_EQ(tabsFrom(&shown), (std::vector<std::string>{"optB", "cmdDone", "txtFirst", "optB"}));
    EXPECT_EQ(nextTabStop(order, &first, false, any), &done);
    EXPECT_FALSE(takesTab(order, shown));
    EXPECT_FALSE(takesTab(order, optA));
    // The focus back: the last control while it can take it, else the first stop that can.
    EXPECT_EQ(focusToGiveBack(order, &done, any), &done);
    const auto notDone = [&done](const ControlPeer& c) {
        return &c != &done;
    };
    EXPECT_EQ(focusToGiveBack(order, &done, notDone), &first);
    EXPECT_EQ(focusToGiveBack(order, nullptr, notDone), &first);
    EXPECT_EQ(nextTabStop(order, nullptr, true, [](const ControlPeer&) { return false; }), nullptr);

    // A disabled control is passed by and not given the focus back; the option buttons' stop
    // moves to an enabled one while the selected one is disabled.
    done.setEnabled(false);
    EXPECT_FALSE(takesTab(order, done));
    EXPECT_EQ(focusToGiveBack(order, &done, any), &first);
    optB.setEnabled(false);
    EXPECT_TRUE(takesTab(order, optA));
    EXPECT_EQ(tabsFrom(nullptr),
              (std::vector<std::string>{"txtFirst", "optA", "txtFirst", "optA"}));
    optA.setEnabled(false);
    EXPECT_EQ(tabsFrom(nullptr),
              (std::vector<std::string>{"txtFirst", "txtFirst", "txtFirst", "txtFirst"}));
    optB.setEnabled(true);
    done.setEnabled(true);
    EXPECT_EQ(tabsFrom(&first), (std::vector<std::string>{"optB", "cmdDone", "txtFirst", "optB"}));
}

} // namespace
} // namespace clearmark::runtime
