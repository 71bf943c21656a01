// The input driver on the Qt implementation: real key and mouse events through QTest, the
// real clipboard.
#include "runtime/qt/access.h"
#include "support/driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <cctype>
#include <stdexcept>

namespace clearmark::testing_support {
namespace {

using runtime::qt::objectOf;
using runtime::qt::widgetOf;

QWidget* shownWidget(const runtime::Control& control) {
    auto* widget = qobject_cast<QWidget*>(objectOf(control));
    if (widget == nullptr || !widget->isVisible())
        throw std::logic_error(control.name() + " is not on the screen");
    return widget;
}

class QtDriver final : public Driver {
public:
    void click(const runtime::Control& control) override {
        QWidget* widget = shownWidget(control);
        // Option buttons and check boxes take the click on their indicator, a command button
        // anywhere.
        const bool indicator = qobject_cast<QRadioButton*>(widget) != nullptr ||
                               qobject_cast<QCheckBox*>(widget) != nullptr;
        const QPoint at = indicator ? QPoint(6, 6) : widget->rect().center();
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    }
    void choose(const runtime::MenuItem& entry) override {
        auto* action = qobject_cast<QAction*>(objectOf(entry));
        if (action == nullptr || !action->isVisible())
            throw std::logic_error(entry.name() + " is no menu entry on the screen");
        action->trigger();
    }
    void type(const runtime::TextBox& box, std::string_view text) override {
        QWidget* widget = shownWidget(box);
        auto* edit = qobject_cast<QLineEdit*>(widget);
        edit->setCursorPosition(int(edit->text().size()));
        QTest::keyClicks(widget, QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    void paste(const runtime::TextBox& box) override {
        QWidget* widget = shownWidget(box);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
    }
    int firstVisibleCharacter(const runtime::TextBox& box) override {
        auto* edit = qobject_cast<QLineEdit*>(shownWidget(box));
        // The line edit scrolls its text when it paints (grab() paints it, shown on a screen or
        // not); then the character under the first pixel inside its margins (QLineEdit keeps
        // two of its own beside the text margins).
        edit->grab();
        const QPoint start(edit->contentsRect().left() + edit->textMargins().left() + 3,
                           edit->height() / 2);
        return edit->cursorPositionAt(start);
    }
    void press(const runtime::Form& form, Key key) override {
        activate(form);
        QWidget* window = widgetOf(form);
        QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
        switch (key) {
        case Key::Tab:
            return QTest::keyClick(target, Qt::Key_Tab);
        case Key::ShiftTab:
            return QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
        case Key::Enter:
            return QTest::keyClick(target, Qt::Key_Return);
        case Key::Escape:
            return QTest::keyClick(target, Qt::Key_Escape);
        case Key::Space:
            return QTest::keyClick(target, Qt::Key_Space);
        case Key::Backspace:
            return QTest::keyClick(target, Qt::Key_Backspace);
        }
    }
    void pressAlt(const runtime::Form& form, char letter) override {
        activate(form);
        QWidget* window = widgetOf(form);
        QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
        QTest::keyClick(target, char(std::tolower(static_cast<unsigned char>(letter))),
                        Qt::AltModifier);
        // A button pressed by its access key is clicked when its 100-ms press has been shown.
        QTest::qWait(150);
    }
    void activate(const runtime::Form& form) override {
        QWidget* window = widgetOf(form);
        window->activateWindow();
        QApplication::setActiveWindow(window);
    }
    std::string focused(const runtime::Form& form) override {
        const QWidget* focus = widgetOf(form)->focusWidget();
        return focus == nullptr ? std::string() : focus->objectName().toStdString();
    }
    void close(const runtime::Form& form) override { widgetOf(form)->close(); }
    std::string clipboardText() override {
        return QGuiApplication::clipboard()->text().toStdString();
    }
    void setClipboardText(std::string_view text) override {
        QGuiApplication::clipboard()->setText(
            QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    void settle() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

} // namespace

Driver& driver() {
    static QtDriver qt;
    return qt;
}

} // namespace clearmark::testing_support
