// The input driver on the Qt implementation: real key and mouse events through QTest, the
// real clipboard.
#include "runtime/keyboard.h"
#include "runtime/qt/access.h"
#include "runtime/qt/widgets.h"
#include "support/driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
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
    void pressCtrl(const runtime::Form& form, char letter) override {
        activate(form);
        QWidget* window = widgetOf(form);
        QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
        const int upper = std::toupper(static_cast<unsigned char>(letter));
        QTest::keyClick(target, Qt::Key(Qt::Key_A + (upper - 'A')), Qt::ControlModifier);
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

    CaptionRoom captionRoom(const runtime::Control& control) override {
        QWidget* widget = shownWidget(control);
        if (auto* button = qobject_cast<runtime::qt::CommandButton*>(widget)) {
            const QRect area = button->captionRect();
            const QRect needed =
                QFontMetrics(button->font())
                    .boundingRect(area, runtime::qt::CommandButton::kCaptionFlags, button->text());
            return {needed.width(), needed.height(), area.width(), area.height()};
        }
        auto* label = qobject_cast<runtime::qt::Label*>(widget);
        if (label == nullptr)
            throw std::logic_error(control.name() + " has no caption to measure");
        const QFontMetrics metrics(label->font());
        CaptionRoom room{0, 0, label->width(), label->height()};
        for (const QString& line : label->displayLines())
            room.neededWidth = std::max(room.neededWidth, metrics.horizontalAdvance(line));
        room.neededHeight = int(label->displayLines().size()) * metrics.lineSpacing();
        if (runtime::paragraphsOf(label->text().toStdString()).size() < 2) {
            // One paragraph: as QLabel lays it out.
            const QRect needed =
                metrics.boundingRect(QRect(QPoint(0, 0), label->size()),
                                     int(label->alignment()) | Qt::TextWordWrap, label->text());
            room.neededWidth = needed.width();
            room.neededHeight = needed.height();
        }
        return room;
    }
    std::vector<std::string> drawnLines(const runtime::Label& label) override {
        auto* drawn = qobject_cast<runtime::qt::Label*>(shownWidget(label));
        std::vector<std::string> lines;
        for (const QString& line : drawn->displayLines())
            lines.push_back(line.toStdString());
        return lines;
    }
    RealBox answerRealBox(const std::function<void()>& open, Key key) override {
        RealBox seen;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            timer.stop();
            seen.shown = true;
            seen.text = box->text().toStdString();
            seen.ownerCaption = box->parentWidget() != nullptr
                                    ? box->parentWidget()->windowTitle().toStdString()
                                    : std::string();
            // Qt keeps input from every other window while an application-modal box is up.
            seen.programTakesInput = box->windowModality() != Qt::ApplicationModal;
            QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box,
                            key == Key::Escape ? Qt::Key_Escape : Qt::Key_Return);
        });
        timer.start(20);
        open();
        settle();
        return seen;
    }
    bool isActive(const runtime::Form& form) override {
        return QApplication::activeWindow() == widgetOf(form);
    }
};

} // namespace

Driver& driver() {
    static QtDriver qt;
    return qt;
}

} // namespace clearmark::testing_support
