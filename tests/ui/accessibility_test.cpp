// What assistive technology reads from the windows.
#include "frmClearmark.h"
#include "frmConvert.h"
#include "gui_support.h"

#include <QAccessible>
#include <QLineEdit>

namespace clearmark {
namespace {

using runtime::forms;

QString accessibleText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface != nullptr ? iface->text(kind) : QString("<no interface>");
}

using Accessibility = testing_support::WithMainWindow;

TEST_F(Accessibility, TextBoxesAreNamedByTheirCaptions) {
    const std::pair<const char*, const char*> boxes[] = {{"txtGap", "Measured Clearance Gap"},
                                                         {"txtOldShim", "Original Shim Size"},
                                                         {"txtSpec", "Desired Gap Specification"},
                                                         {"txtNewShim", "New Shim Size (approx)"}};
    for (const auto& [box, name] : boxes)
        EXPECT_EQ(accessibleText(widget(main, box), QAccessible::Name), name) << box;
    click(main, "cmdConverter");
    EXPECT_EQ(accessibleText(widget(forms().find<frmConvert>(), "txtData"), QAccessible::Name),
              "Enter the measurement below, then check which method");
}

TEST_F(Accessibility, ButtonsExposeTheirCaptions) {
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdExit", "Exit"},  {"cmdCalculate", "Calculate"}, {"cmdIntake", "IN"},
        {"cmdExhaust", "EX"}, {"cmdConverter", "Converter"}, {"cmdReset", "Reset"}};
    for (const auto& [button, caption] : buttons)
        EXPECT_EQ(accessibleText(widget(main, button), QAccessible::Name), caption) << button;
}

// The headless platform has no accessibility bridge to listen to events, so the test reads
// what a screen reader would be told: the result box becomes visible with its value.
TEST_F(Accessibility, TheResultBoxAnnouncesItsValue) {
    QWidget* result = widget(main, "txtNewShim");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(result);
    ASSERT_NE(iface, nullptr);
    EXPECT_TRUE(iface->state().invisible);
    child<QLineEdit>(main, "txtGap")->setText("0.20");
    child<QLineEdit>(main, "txtOldShim")->setText("2.45");
    child<QLineEdit>(main, "txtSpec")->setText("0.175");
    click(main, "cmdCalculate");
    EXPECT_FALSE(iface->state().invisible);
    EXPECT_EQ(iface->role(), QAccessible::EditableText);
    EXPECT_EQ(iface->text(QAccessible::Value), "2.475");
    EXPECT_EQ(iface->text(QAccessible::Name), "New Shim Size (approx)");
}

} // namespace
} // namespace clearmark
