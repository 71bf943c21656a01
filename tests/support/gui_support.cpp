#include "gui_support.h"

#include "windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace clearmark::testing_support {

ScriptedBoxes::ScriptedBoxes() {
    previous_ = runtime::setMsgBoxPresenter([this](const runtime::MsgBoxRequest& request) {
        shown_.push_back(request);
        if (look_)
            look_(request);
        if (answers_.empty())
            return runtime::MsgAnswer::OK;
        const runtime::MsgAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

ScriptedBoxes::~ScriptedBoxes() {
    runtime::setMsgBoxPresenter(std::move(previous_));
}

void GuiTest::SetUp() {
    runtime::resetProgramEnd();
    previousEnd_ = runtime::setProgramEndAction([this] { ++programEnds; });
}

void GuiTest::TearDown() {
    runtime::forms().unloadAllSilently();
    flushDeletes();
    runtime::setProgramEndAction(std::move(previousEnd_));
    runtime::resetProgramEnd();
}

void GuiTest::startWindows() {
    startProgram();
}

void GuiTest::flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QWidget* GuiTest::widget(QWidget* form, const char* name) {
    if (form == nullptr)
        return nullptr;
    return form->findChild<QWidget*>(QString::fromLatin1(name));
}

void GuiTest::click(QWidget* form, const char* name) {
    auto* button = qobject_cast<QAbstractButton*>(widget(form, name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void GuiTest::type(QWidget* form, const char* name, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(widget(form, name));
    ASSERT_NE(box, nullptr) << name;
    QTest::keyClicks(box, text);
}

QString GuiTest::text(QWidget* form, const char* name) {
    QWidget* w = widget(form, name);
    if (auto* box = qobject_cast<QLineEdit*>(w))
        return box->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    ADD_FAILURE() << "no control with text named " << name;
    return {};
}

void WithMainWindow::SetUp() {
    GuiTest::SetUp();
    main = start<frmClearmark>();
    ASSERT_NE(main, nullptr);
}

} // namespace clearmark::testing_support
