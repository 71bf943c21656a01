// A seeded monkey: long random sequences of user actions over every window, with the
// windows' rules checked after each one. A failure names its seed and action; replay it
// with CLEARMARK_MONKEY_SEED=<seed> (and CLEARMARK_MONKEY_ACTIONS=<count>).
#include "expected_boxes.h"
#include "frmAbout.h"
#include "frmClearmark.h"
#include "frmConvert.h"
#include "frmHelpCalculator.h"
#include "gui_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <functional>
#include <random>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;

const QStringList kWindows = {"frmClearmark", "frmConvert", "frmHelpCalculator", "frmAbout"};

using namespace expected;

class Monkey : public testing_support::GuiTest, public ::testing::WithParamInterface<unsigned> {
protected:
    // What the current action may show, and what it did show.
    std::vector<MsgBoxRequest> allowed;
    std::vector<MsgBoxRequest> shown;
    bool mayEnd = false;
    int boxCount = 0;
    std::mt19937 random;

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    bool chance(int percent) { return pick(100) < percent; }

    QString randomText() {
        static const QStringList hostile = {"abc",
                                            "   ",
                                            "-",
                                            ".",
                                            "1.2.3",
                                            "1e999",
                                            "-1e999",
                                            "1e-400",
                                            "nan",
                                            "inf",
                                            "0x10",
                                            "2,5",
                                            "0.20",
                                            "2.45",
                                            "0.175",
                                            "25.4",
                                            "1e308",
                                            "-7.1e306",
                                            "1.7e308",
                                            "-1.7e308",
                                            " 0.3 ",
                                            "+.5",
                                            "1e",
                                            QString::fromUtf8("\xd9\xa1\xd9\xa2"),
                                            QString::fromUtf8("\xef\xbc\x93.5")};
        switch (pick(4)) {
        case 0:
            return hostile[pick(int(hostile.size()))];
        case 1:
            return QString::number(std::uniform_real_distribution<double>(-5, 5)(random), 'g',
                                   1 + pick(17));
        case 2: {
            QString digits;
            for (int i = pick(30); i >= 0; --i)
                digits += QChar(u"0123456789.eE+- "[pick(16)]);
            return digits;
        }
        default:
            return QString(10'000, QChar(u"9a. "[pick(4)]));
        }
    }

    QList<QWidget*> openWindows() const {
        QList<QWidget*> windows;
        for (const QString& name : kWindows)
            if (QWidget* w = forms().find(name); w != nullptr && w->isVisible())
                windows << w;
        return windows;
    }
    template <class T> QList<T*> visibleControls() const {
        QList<T*> found;
        for (QWidget* window : openWindows())
            for (T* control : window->findChildren<T*>())
                if (control->isVisibleTo(window))
                    found << control;
        return found;
    }

    void act() {
        allowed.clear();
        shown.clear();
        mayEnd = false;
        QList<QAbstractButton*> buttons = visibleControls<QAbstractButton>();
        const QList<QLineEdit*> boxes = visibleControls<QLineEdit>();
        switch (pick(10)) {
        case 0:
        case 1: { // type into a text box
            if (boxes.isEmpty())
                return;
            QLineEdit* box = boxes[pick(int(boxes.size()))];
            const QString text = randomText();
            if (chance(30))
                box->clear();
            const bool ascii =
                std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
            if (text.size() > 100 || !ascii || chance(20)) {
                QGuiApplication::clipboard()->setText(text);
                QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            } else {
                QTest::keyClicks(box, text);
            }
            return;
        }
        case 2:
        case 3:
        case 4:
        case 5: { // press a button
            if (buttons.isEmpty())
                return;
            QAbstractButton* button = buttons[pick(int(buttons.size()))];
            const QString name = button->objectName();
            if (name == "cmdCalculate")
                allowed = {kShimSizes, kBadData};
            else if (name == "cmdExit")
                allowed = {kExit}, mayEnd = true;
            else if (name == "cmdConvert1")
                allowed = {kNoData, kConvertBadData};
            else if (name == "cmdCopy") {
                const QString data = button->window()->findChild<QLineEdit*>("txtData")->text();
                allowed = {kNoDataToCopy,
                           {"Good data to copy. Data =  " + data, "Clearmark", MsgButtons::OK,
                            MsgIcon::None}};
            } else if (name == "cmdSysInfo")
                allowed = {kUnavailable};
            if (qobject_cast<QRadioButton*>(button))
                QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, 6));
            else
                QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
        case 6: { // a menu entry
            auto* main = forms().find<frmClearmark>();
            main->findChild<QAction*>(chance(50) ? "mnuAbout" : "mnuHelp2")->trigger();
            return;
        }
        case 7: { // close a window by its close button
            QList<QWidget*> windows = openWindows();
            QWidget* window = windows[pick(int(windows.size()))];
            if (window->objectName() == "frmClearmark" && !chance(10))
                return; // closing the main window ends the run: rarely
            mayEnd = window->objectName() == "frmClearmark";
            window->close();
            return;
        }
        case 8: { // Esc or Enter in the About window
            if (auto* about = forms().find<frmAbout>(); about && about->isVisible()) {
                QWidget* target = about->focusWidget() ? about->focusWidget() : about;
                const bool enter = chance(50);
                // Enter presses the focused button, which may be "System Info...".
                if (enter && target->objectName() == "cmdSysInfo")
                    allowed = {kUnavailable};
                QTest::keyClick(target, enter ? Qt::Key_Return : Qt::Key_Escape);
            }
            return;
        }
        default: // open the converter
            QTest::mouseClick(forms().find<frmClearmark>()->findChild<QWidget*>("cmdConverter"),
                              Qt::LeftButton);
            return;
        }
    }

    // The windows' rules, after every action.
    void checkInvariants() {
        flushDeletes();
        for (const QString& name : kWindows) {
            int instances = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                instances += w->objectName() == name ? 1 : 0;
            ASSERT_LE(instances, 1) << name.toStdString() << " exists twice";
            if (instances == 1) {
                ASSERT_NE(forms().find(name), nullptr) << name.toStdString();
            }
        }
        for (const MsgBoxRequest& box : shown) {
            const bool permitted = std::find(allowed.begin(), allowed.end(), box) != allowed.end();
            ASSERT_TRUE(permitted) << "unexpected box: " << box.text.left(80).toStdString() << " / "
                                   << box.caption.toStdString();
        }
        ASSERT_LE(shown.size(), 1u) << "more than one box for one action";
        if (programEnds > 0) {
            ASSERT_TRUE(mayEnd) << "the program ended";
            return;
        }
        auto* main = forms().find<frmClearmark>();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(main->isVisible());
        auto* result = main->findChild<QWidget*>("txtNewShim");
        auto* label = main->findChild<QWidget*>("lblNewShim");
        ASSERT_EQ(result->isHidden(), label->isHidden()) << "result and its label disagree";
        if (!shown.empty() && shown[0] == kBadData) {
            ASSERT_TRUE(result->isHidden());
            ASSERT_EQ(main->findChild<QLineEdit*>("txtNewShim")->text(), "");
        }
        if (auto* conv = forms().find<frmConvert>()) {
            ASSERT_FALSE(conv->findChild<QRadioButton*>("optMmToInches")->isChecked() &&
                         conv->findChild<QRadioButton*>("optInchesToMm")->isChecked())
                << "both directions selected";
        }
    }
};

TEST_P(Monkey, KeepsEveryWindowRule) {
    unsigned seed = GetParam();
    int actions = 2000;
    if (const QByteArray replay = qgetenv("CLEARMARK_MONKEY_SEED"); !replay.isEmpty())
        seed = replay.toUInt();
    if (const QByteArray count = qgetenv("CLEARMARK_MONKEY_ACTIONS"); !count.isEmpty())
        actions = count.toInt();
    random.seed(seed);

    const runtime::MsgBoxPresenter previous =
        runtime::setMsgBoxPresenter([this](const MsgBoxRequest& request) {
            shown.push_back(request);
            ++boxCount;
            if (request.buttons == MsgButtons::OKCancel)
                return chance(8) ? MsgAnswer::OK : MsgAnswer::Cancel;
            return MsgAnswer::OK;
        });
    start<frmClearmark>();
    int ends = 0;
    for (int i = 0; i < actions && !HasFailure(); ++i) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", action " + std::to_string(i) +
                     " (replay: CLEARMARK_MONKEY_SEED=" + std::to_string(seed) + ")");
        act();
        checkInvariants();
        if (programEnds > 0) { // the run ended as the user asked: start the program again
            ++ends;
            programEnds = 0;
            EXPECT_EQ(forms().loadedCount(), 0);
            runtime::resetProgramEnd();
            flushDeletes();
            start<frmClearmark>();
        }
    }
    runtime::setMsgBoxPresenter(previous);
    std::printf("monkey seed %u: %d actions, %d boxes answered, %d ends of the program\n", seed,
                actions, boxCount, ends);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Monkey, ::testing::Values(1u, 7u, 42u, 1975u, 20261208u));

} // namespace
} // namespace clearmark
