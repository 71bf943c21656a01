// The keyboard's and captions' rules as the runtime decides them for every implementation;
// the windows' tests press the real keys.
#include "runtime/implementation.h"
#include "runtime/keyboard.h"

#include <gtest/gtest.h>
#include <optional>
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
    bool visible() const override { return true; }
    void setVisible(bool) override {}
    void move(int, int) override {}
    bool value() const override { return value_; }
    void setValue(bool value) override { value_ = value; }
    bool canTakeFocus() const override { return true; }
    void setFocus() override {}

private:
    bool value_;
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
}

} // namespace
} // namespace clearmark::runtime
