#pragma once

// The window tests' fixture, written once for every implementation of the window runtime:
// the program started fresh for each test, message boxes scripted, the end of the program
// recorded instead of ending the test process.
#include "main/frmClearmark.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"
#include "runtime/program.h"
#include "support/driver.h"
#include "support/memory_storage.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace clearmark::runtime {
// How a box reads in a failed assertion.
void PrintTo(const MsgBoxRequest& box, std::ostream* out);
} // namespace clearmark::runtime

namespace clearmark::testing_support {

// Takes every message box instead of the screen: records it, answers it from a script
// (when the script is empty: OK, or Cancel where the box has no OK) and lets a test look at the
// windows while it is open.
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

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program as its main() does and returns the main window.
    frmClearmark& start();

    template <class T> static T control(const runtime::Form& form, const char* name) {
        return form.control<T>(name);
    }
    static runtime::TextBox textBox(const runtime::Form& form, const char* name) {
        return form.control<runtime::TextBox>(name);
    }
    static runtime::Label label(const runtime::Form& form, const char* name) {
        return form.control<runtime::Label>(name);
    }
    // A click on the command button of that name.
    static void click(const runtime::Form& form, const char* name);
    // A click on the option button of that name.
    static void select(const runtime::Form& form, const char* option);
    static void choose(const runtime::Form& form, const char* menuEntry);
    static void type(const runtime::Form& form, const char* box, std::string_view text);
    // Puts the text into the box in place of what it held: typed key by key where a user
    // would type it (a short printable ASCII text), else set through the box's handle.
    static void enter(const runtime::Form& form, const char* box, std::string_view text);
    static void press(const runtime::Form& form, Key key) { driver().press(form, key); }
    static std::string focused(const runtime::Form& form) { return driver().focused(form); }
    // Presses the key `count` times; the control holding the focus after each press.
    static std::vector<std::string> focusAfterEach(const runtime::Form& form, Key key, int count);
    // Presses Tab until the named control holds the focus; fails when a whole round of the
    // window's controls does not reach it.
    static ::testing::AssertionResult tabTo(const runtime::Form& form, const char* name);
    // The names of the loaded windows in the order main, converter, help, About, sheet, shim box
    // ("" for none).
    static std::string loadedWindows();

    static Driver& input() { return driver(); }

    ScriptedBoxes boxes;
    // The user's files, the file dialogs and the printer: in memory and scripted, never the
    // real ones.
    MemoryStorage storage;
    ScriptedFileDialogs fileDialogs;
    ScriptedPrinter printer;
    int programEnds = 0;

private:
    runtime::ProgramEndAction previousEnd_;
};

// The program started as its main() starts it, with its main window.
class WithMainWindow : public GuiTest {
protected:
    void SetUp() override;
    frmClearmark* main = nullptr;
};

} // namespace clearmark::testing_support
