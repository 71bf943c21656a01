#include "support/gui_support.h"

#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "sheet/frmShimBox.h"
#include "sheet/frmValveSheet.h"

#include <algorithm>

namespace clearmark::runtime {

void PrintTo(const MsgBoxRequest& box, std::ostream* out) {
    static const char* const buttons[] = {"OK", "OKCancel"};
    static const char* const icons[] = {"None", "Information", "Exclamation", "Critical"};
    *out << "{\"" << box.text << "\", \"" << box.caption << "\", "
         << buttons[static_cast<int>(box.buttons)] << ", " << icons[static_cast<int>(box.icon)]
         << "}";
}

} // namespace clearmark::runtime

namespace clearmark::testing_support {

ScriptedBoxes::ScriptedBoxes() {
    previous_ = runtime::setMsgBoxPresenter([this](const runtime::MsgBoxRequest& request) {
        shown_.push_back(request);
        if (look_)
            look_(request);
        if (answers_.empty())
            return request.buttons == runtime::MsgButtons::YesNoCancel ? runtime::MsgAnswer::Cancel
                                                                       : runtime::MsgAnswer::OK;
        const runtime::MsgAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

ScriptedBoxes::~ScriptedBoxes() {
    runtime::setMsgBoxPresenter(std::move(previous_));
}

void GuiTest::SetUp() {
    // Each test is a run of its own, whatever the one before it did.
    runtime::beginProgram();
    previousEnd_ = runtime::setProgramEndAction([this] { ++programEnds; });
}

void GuiTest::TearDown() {
    runtime::forms().unloadAllSilently();
    driver().settle();
    runtime::setProgramEndAction(std::move(previousEnd_));
}

frmClearmark& GuiTest::start() {
    runtime::startProgram<frmClearmark>();
    frmClearmark* main = runtime::forms().find<frmClearmark>();
    if (main == nullptr)
        throw std::logic_error("the program started without its main window");
    return *main;
}

void GuiTest::click(const runtime::Form& form, const char* name) {
    driver().click(form.control<runtime::CommandButton>(name));
}

void GuiTest::select(const runtime::Form& form, const char* option) {
    driver().click(form.control<runtime::OptionButton>(option));
}

void GuiTest::choose(const runtime::Form& form, const char* menuEntry) {
    driver().choose(form.control<runtime::MenuItem>(menuEntry));
}

void GuiTest::type(const runtime::Form& form, const char* box, std::string_view text) {
    driver().type(form.control<runtime::TextBox>(box), text);
}

void GuiTest::enter(const runtime::Form& form, const char* box, std::string_view text) {
    const auto handle = form.control<runtime::TextBox>(box);
    handle.setText("");
    // Key by key, a long text would take minutes.
    constexpr std::size_t kLongestTyped = 200;
    const bool typeable =
        text.size() <= kLongestTyped &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
    if (typeable)
        driver().type(handle, text);
    else
        handle.setText(text);
}

std::vector<std::string> GuiTest::focusAfterEach(const runtime::Form& form, Key key, int count) {
    std::vector<std::string> order;
    for (int i = 0; i < count; ++i) {
        driver().press(form, key);
        order.push_back(driver().focused(form));
    }
    return order;
}

::testing::AssertionResult GuiTest::tabTo(const runtime::Form& form, const char* name) {
    const std::size_t round = form.controls().size() + 1;
    for (std::size_t i = 0; i < round; ++i) {
        if (driver().focused(form) == name)
            return ::testing::AssertionSuccess();
        driver().press(form, Key::Tab);
    }
    return ::testing::AssertionFailure() << "Tab never reaches " << name;
}

std::string GuiTest::loadedWindows() {
    std::string names;
    const auto add = [&names](const runtime::Form* form) {
        if (form == nullptr)
            return;
        if (!names.empty())
            names += ' ';
        names += form->design().name;
    };
    add(runtime::forms().find<frmClearmark>());
    add(runtime::forms().find<frmConvert>());
    add(runtime::forms().find<frmHelpCalculator>());
    add(runtime::forms().find<frmAbout>());
    add(runtime::forms().find<frmValveSheet>());
    add(runtime::forms().find<frmShimBox>());
    return names;
}

void WithMainWindow::SetUp() {
    GuiTest::SetUp();
    main = &start();
}

} // namespace clearmark::testing_support
