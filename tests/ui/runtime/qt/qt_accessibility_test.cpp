// What assistive technology reads from the windows, as Qt exposes it.
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "runtime/qt/access.h"
#include "support/gui_support.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::qt::widgetOf;

QString accessibleText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface != nullptr ? iface->text(kind) : QStringLiteral("<no interface>");
}

using QtAccessibility = testing_support::WithMainWindow;

// Each window is announced as a window, by its caption; the About window as a dialog.
TEST_F(QtAccessibility, WindowsAreWindowsNamedByTheirCaptions) {
    click(*main, "cmdConverter");
    const runtime::Form* conv = forms().find<frmConvert>();
    const runtime::Form* about = &forms().show<frmAbout>();
    const runtime::Form* help = &forms().show<frmHelpCalculator>();
    ASSERT_NE(conv, nullptr);
    const std::tuple<const runtime::Form*, QAccessible::Role, const char*> windows[] = {
        {main, QAccessible::Window, "Dorvan's Clearmark"},
        {conv, QAccessible::Window, "Conversion Form"},
        {help, QAccessible::Window, "How To Use Calculator"},
        {about, QAccessible::Dialog, "About Clearmark"},
    };
    for (const auto& [form, role, caption] : windows) {
        SCOPED_TRACE(caption);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widgetOf(*form));
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), role);
        EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), caption);
    }
}

TEST_F(QtAccessibility, TextBoxesAreNamedByTheirLabels) {
    click(*main, "cmdConverter");
    const frmConvert* conv = forms().find<frmConvert>();
    ASSERT_NE(conv, nullptr);
    struct Case {
        const runtime::Form* form;
        const char* box;
        const char* name;
    };
    const Case cases[] = {
        {main, "txtGap", "Measured Clearance Gap"},
        {main, "txtOldShim", "Original Shim Size"},
        {main, "txtSpec", "Desired Gap Specification"},
        {main, "txtNewShim", "New Shim Size (approx)"},
        {conv, "txtData", "Enter the measurement below, then check which method"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        auto* box = widgetOf<QLineEdit>(textBox(*c.form, c.box));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(accessibleText(box, QAccessible::Name).toStdString(), c.name);
    }
}

TEST_F(QtAccessibility, ButtonsExposeTheirCaptions) {
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdExit", "Exit"},  {"cmdCalculate", "Calculate"}, {"cmdIntake", "IN"},
        {"cmdExhaust", "EX"}, {"cmdConverter", "Converter"}, {"cmdReset", "Reset"}};
    for (const auto& [name, caption] : buttons) {
        SCOPED_TRACE(name);
        auto* button = widgetOf<QPushButton>(control<runtime::CommandButton>(*main, name));
        ASSERT_NE(button, nullptr);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::Button);
        EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), caption);
    }
}

// The headless platform has no accessibility bridge to listen to events, so the test reads
// what a screen reader would be told: the result box becomes visible with its value.
TEST_F(QtAccessibility, TheResultBoxAnnouncesItsValue) {
    auto* result = widgetOf<QLineEdit>(textBox(*main, "txtNewShim"));
    ASSERT_NE(result, nullptr);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(result);
    ASSERT_NE(iface, nullptr);
    EXPECT_TRUE(iface->state().invisible);
    type(*main, "txtGap", "0.20");
    type(*main, "txtOldShim", "2.45");
    type(*main, "txtSpec", "0.175");
    click(*main, "cmdCalculate");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_FALSE(iface->state().invisible);
    EXPECT_EQ(iface->role(), QAccessible::EditableText);
    EXPECT_EQ(iface->text(QAccessible::Value).toStdString(), "2.475");
    EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), "New Shim Size (approx)");
}

} // namespace
} // namespace clearmark
