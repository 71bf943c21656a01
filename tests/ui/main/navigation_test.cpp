#include "expected_boxes.h"
#include "frmClearmark.h"
#include "frmConvert.h"
#include "gui_support.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;
using testing_support::GuiTest;

const MsgBoxRequest& kExitBox = expected::kExit;

using Navigation = testing_support::WithMainWindow;

TEST_F(Navigation, StartLoadsTheConverterHiddenOnce) {
    auto* conv = forms().find<frmConvert>();
    ASSERT_NE(conv, nullptr);
    EXPECT_FALSE(conv->isVisible());
    EXPECT_EQ(forms().timesLoaded("frmConvert"), 1);
    EXPECT_EQ(forms().timesLoaded("frmClearmark"), 1);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Navigation, ConverterTwiceIsOneWindowKeepingItsText) {
    click(main, "cmdConverter");
    auto* conv = forms().find<frmConvert>();
    ASSERT_NE(conv, nullptr);
    EXPECT_TRUE(conv->isVisible());
    type(conv, "txtData", "12.5");
    click(main, "cmdConverter");
    EXPECT_EQ(forms().find<frmConvert>(), conv);
    EXPECT_EQ(text(conv, "txtData"), "12.5");
    EXPECT_EQ(forms().timesLoaded("frmConvert"), 1); // loaded at start, shown twice
    int converters = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        converters += w->objectName() == "frmConvert" ? 1 : 0;
    EXPECT_EQ(converters, 1);
}

TEST_F(Navigation, ClosingTheConverterKeepsTheProgramAndReloadsItNextTime) {
    click(main, "cmdConverter");
    auto* conv = forms().find<frmConvert>();
    type(conv, "txtData", "7");
    conv->close();
    EXPECT_EQ(forms().find<frmConvert>(), nullptr);
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->isVisible());
    click(main, "cmdConverter");
    conv = forms().find<frmConvert>();
    ASSERT_NE(conv, nullptr);
    EXPECT_EQ(text(conv, "txtData"), "");
    EXPECT_EQ(forms().timesLoaded("frmConvert"), 2);
}

TEST_F(Navigation, ExitCancelledChangesNothing) {
    click(main, "cmdConverter");
    auto* conv = forms().find<frmConvert>();
    type(conv, "txtData", "3");
    type(main, "txtGap", "0.20");
    boxes.answerNext(MsgAnswer::Cancel);
    click(main, "cmdExit");

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kExitBox);
    EXPECT_EQ(programEnds, 0);
    EXPECT_EQ(forms().find<frmClearmark>(), main);
    EXPECT_EQ(forms().find<frmConvert>(), conv);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(conv->isVisible());
    EXPECT_EQ(text(main, "txtGap"), "0.20");
    EXPECT_EQ(text(conv, "txtData"), "3");
}

TEST_F(Navigation, ExitConfirmedEndsTheProgram) {
    click(main, "cmdConverter");
    boxes.answerNext(MsgAnswer::OK);
    click(main, "cmdExit");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kExitBox);
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(forms().loadedCount(), 0);
    flushDeletes();
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

TEST_F(Navigation, ClosingTheMainWindowEndsAtOnceWithoutAQuestion) {
    click(main, "cmdConverter");
    main->close();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(forms().loadedCount(), 0);
}

TEST_F(Navigation, MenuEntriesOpenOnlyWindowsThatArePartOfTheProgram) {
    const int loadedBefore = forms().loadedCount();
    for (const char* entry : {"mnuHelp2", "mnuAbout"}) {
        auto* action = main->findChild<QAction*>(entry);
        ASSERT_NE(action, nullptr);
        action->trigger();
        action->trigger();
    }
    int opened = 0;
    for (const char* name : {"frmHelpCalculator", "frmAbout"}) {
        if (!forms().isRegistered(name))
            continue;
        ASSERT_NE(forms().find(name), nullptr) << name;
        EXPECT_TRUE(forms().find(name)->isVisible());
        EXPECT_EQ(forms().timesLoaded(name), 1) << name;
        ++opened;
    }
    EXPECT_EQ(forms().loadedCount(), loadedBefore + opened);
    EXPECT_EQ(programEnds, 0);
}

} // namespace
} // namespace clearmark
