#pragma once

#include "forms.h"
#include "frmClearmark.h"
#include "msgbox.h"
#include "program.h"

#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace clearmark::testing_support {

// Takes every message box instead of the screen: records it, answers it from a script
// (OK when the script is empty) and lets a test look at the windows while it is open.
class ScriptedBoxes {
public:
    ScriptedBoxes();
    ~ScriptedBoxes();
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    void answerNext(runtime::MsgAnswer answer) { answers_.push_back(answer); }
    void whileShown(std::function<void(const runtime::MsgBoxRequest&)> look) {
        look_ = std::move(look);
    }
    const std::vector<runtime::MsgBoxRequest>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

private:
    runtime::MsgBoxPresenter previous_;
    std::vector<runtime::MsgBoxRequest> shown_;
    std::deque<runtime::MsgAnswer> answers_;
    std::function<void(const runtime::MsgBoxRequest&)> look_;
};

// The program's windows started fresh for each test, with boxes scripted and the end of
// the program recorded instead of ending the test process.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program as its main() does and returns the main window.
    template <class F> F* start();
    // Destroys windows that were unloaded, as the event loop would.
    static void flushDeletes();

    static QWidget* widget(QWidget* form, const char* name);
    template <class T> static T* child(QWidget* form, const char* name) {
        auto* found = qobject_cast<T*>(widget(form, name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void click(QWidget* form, const char* name);
    static void type(QWidget* form, const char* name, const QString& text);
    static QString text(QWidget* form, const char* name);

    ScriptedBoxes boxes;
    int programEnds = 0;

private:
    void startWindows();
    runtime::ProgramEndAction previousEnd_;
};

// The program started as its main() starts it, with its main window.
class WithMainWindow : public GuiTest {
protected:
    void SetUp() override;
    frmClearmark* main = nullptr;
};

template <class F> F* GuiTest::start() {
    startWindows();
    return runtime::forms().find<F>();
}

} // namespace clearmark::testing_support
