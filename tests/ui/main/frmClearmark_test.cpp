#include "expected_boxes.h"
#include "fonts.h"
#include "frmClearmark.h"
#include "gui_support.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace clearmark {
namespace {

using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;
using testing_support::GuiTest;

const MsgBoxRequest& kShimSizesBox = expected::kShimSizes;
const MsgBoxRequest& kBadDataBox = expected::kBadData;

class MainWindow : public testing_support::WithMainWindow {
protected:
    bool resultShown() const {
        return !widget(main, "txtNewShim")->isHidden() && !widget(main, "lblNewShim")->isHidden();
    }
    bool resultHidden() const {
        return widget(main, "txtNewShim")->isHidden() && widget(main, "lblNewShim")->isHidden();
    }
    void setInput(const char* name, const QString& value) {
        child<QLineEdit>(main, name)->setText(value);
    }
    void calculateWith(const QString& gap, const QString& oldShim, const QString& desired) {
        setInput("txtGap", gap);
        setInput("txtOldShim", oldShim);
        setInput("txtSpec", desired);
        click(main, "cmdCalculate");
    }
};

TEST_F(MainWindow, TypicalIntakeCalculationEndToEnd) {
    bool resultVisibleBehindBox = false;
    boxes.whileShown([&](const MsgBoxRequest&) {
        resultVisibleBehindBox = resultShown() && text(main, "txtNewShim") == "2.475";
    });
    type(main, "txtGap", "0.20");
    type(main, "txtOldShim", "2.45");
    click(main, "cmdIntake");
    EXPECT_EQ(text(main, "txtSpec"), "0.175");
    click(main, "cmdCalculate");

    EXPECT_EQ(text(main, "txtNewShim"), "2.475");
    EXPECT_TRUE(resultShown());
    EXPECT_TRUE(resultVisibleBehindBox);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kShimSizesBox);
    EXPECT_EQ(main->desiredGap(), 0.175);
    EXPECT_EQ(main->measuredGap(), 0.20);
    EXPECT_EQ(main->originalShim(), 2.45);
    EXPECT_EQ(main->gapDifference(), 0.175 - 0.20);
    EXPECT_EQ(programEnds, 0);
}

TEST_F(MainWindow, ExhaustCalculationRoundsAwayBinaryNoise) {
    type(main, "txtGap", "0.30");
    type(main, "txtOldShim", "2.30");
    click(main, "cmdExhaust");
    click(main, "cmdCalculate");
    EXPECT_EQ(text(main, "txtNewShim"), "2.325");
    EXPECT_TRUE(resultShown());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kShimSizesBox);
}

TEST_F(MainWindow, IntakeThenExhaustLeavesTheExhaustDefault) {
    type(main, "txtSpec", "9.99");
    click(main, "cmdIntake");
    EXPECT_EQ(text(main, "txtSpec"), "0.175");
    click(main, "cmdExhaust");
    EXPECT_EQ(text(main, "txtSpec"), "0.275");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(resultHidden());
}

TEST_F(MainWindow, EmptyInputShowsBadDataAndHidesAnEarlierResult) {
    const char* inputs[] = {"txtGap", "txtOldShim", "txtSpec"};
    for (const char* empty : inputs) {
        SCOPED_TRACE(empty);
        calculateWith("0.20", "2.45", "0.175");
        ASSERT_TRUE(resultShown());
        boxes.clear();

        bool resultStillShownDuringBox = false;
        boxes.whileShown([&](const MsgBoxRequest&) { resultStillShownDuringBox = resultShown(); });
        setInput(empty, "");
        click(main, "cmdCalculate");
        boxes.whileShown(nullptr);

        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], kBadDataBox);
        EXPECT_TRUE(resultStillShownDuringBox); // hidden only after the box is closed
        EXPECT_TRUE(resultHidden());
        EXPECT_EQ(text(main, "txtNewShim"), "");
        // The numbers of the last good calculation stay.
        EXPECT_EQ(main->originalShim(), 2.45);
        EXPECT_EQ(main->desiredGap(), 0.175);
        boxes.clear();
    }
}

TEST_F(MainWindow, AllInputsEmptyAtStartShowsBadData) {
    click(main, "cmdCalculate");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kBadDataBox);
    EXPECT_TRUE(resultHidden());
    EXPECT_EQ(main->gapDifference(), 0.0);
}

struct HostileCase {
    const char* name;
    QString gap;
    QString oldShim;
    QString desired;
    const char* result; // nullptr: the "Bad data" box
};

class MainWindowHostileInput : public MainWindow,
                               public ::testing::WithParamInterface<HostileCase> {};

TEST_P(MainWindowHostileInput, NeverEndsTheProgram) {
    const HostileCase& c = GetParam();
    calculateWith("0.20", "2.45", "0.175"); // a good result first
    boxes.clear();
    calculateWith(c.gap, c.oldShim, c.desired);
    ASSERT_EQ(boxes.shown().size(), 1u);
    if (c.result == nullptr) {
        EXPECT_EQ(boxes.shown()[0], kBadDataBox);
        EXPECT_TRUE(resultHidden());
        EXPECT_EQ(text(main, "txtNewShim"), "");
        // Nothing of the failed attempt is stored.
        EXPECT_EQ(main->measuredGap(), 0.20);
        EXPECT_EQ(main->originalShim(), 2.45);
        EXPECT_EQ(main->desiredGap(), 0.175);
        EXPECT_EQ(main->gapDifference(), 0.175 - 0.20);
    } else {
        EXPECT_EQ(boxes.shown()[0], kShimSizesBox);
        EXPECT_EQ(text(main, "txtNewShim"), QString::fromLatin1(c.result));
        EXPECT_TRUE(resultShown());
    }
    // The inputs keep what the user typed.
    EXPECT_EQ(text(main, "txtGap"), c.gap);
    EXPECT_EQ(text(main, "txtOldShim"), c.oldShim);
    EXPECT_EQ(text(main, "txtSpec"), c.desired);
    EXPECT_EQ(programEnds, 0);
}

const QString kHundredThousandDigits(100'000, QLatin1Char('9'));

INSTANTIATE_TEST_SUITE_P(
    Texts, MainWindowHostileInput,
    ::testing::Values(
        HostileCase{"letters", "abc", "2.45", "0.175", nullptr},
        HostileCase{"blanks", "0.20", "   ", "0.175", nullptr},
        HostileCase{"loneMinus", "0.20", "2.45", "-", nullptr},
        HostileCase{"lonePoint", ".", "2.45", "0.175", nullptr},
        HostileCase{"twoPoints", "0.20", "1.2.3", "0.175", nullptr},
        HostileCase{"overflow", "1e999", "2.45", "0.175", nullptr},
        HostileCase{"negativeOverflow", "0.20", "-1e999", "0.175", nullptr},
        HostileCase{"nan", "0.20", "2.45", "nan", nullptr},
        HostileCase{"inf", "inf", "2.45", "0.175", nullptr},
        HostileCase{"hex", "0.20", "0x10", "0.175", nullptr},
        HostileCase{"comma", "0.20", "2,5", "0.175", nullptr},
        HostileCase{"arabicDigits", QString::fromUtf8("\xd9\xa0.\xd9\xa2"), "2.45", "0.175",
                    nullptr},
        HostileCase{"fullwidthDigit", "0.20", QString::fromUtf8("\xef\xbc\x92"), "0.175", nullptr},
        HostileCase{"embeddedNul", QString::fromUtf16(u"0.2\u00000", 5), "2.45", "0.175", nullptr},
        HostileCase{"hugeNumber", "0.20", kHundredThousandDigits, "0.175", nullptr},
        // D = S - G overflows, then N = O - D overflows.
        HostileCase{"differenceOverflows", "-1.7e308", "2.45", "1.7e308", nullptr},
        HostileCase{"newShimOverflows", "0", "-1.7e308", "1.7e308", nullptr},
        // Accepted forms: blanks around, a tiny value that reads as zero, exponents.
        HostileCase{"blanksAround", " \t0.20 ", "2.45\t", " 0.175", "2.475"},
        HostileCase{"underflowReadsAsZero", "1e-400", "2.45", "0", "2.45"},
        HostileCase{"exponents", "2E-1", "245e-2", "+.175", "2.475"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, ResetClearsInputsResultAndNumbers) {
    calculateWith("0.20", "2.45", "0.175");
    ASSERT_TRUE(resultShown());
    boxes.clear();
    click(main, "cmdReset");
    for (const char* name : {"txtGap", "txtSpec", "txtOldShim", "txtNewShim"})
        EXPECT_EQ(text(main, name), "") << name;
    EXPECT_TRUE(resultHidden());
    EXPECT_EQ(main->desiredGap(), 0.0);
    EXPECT_EQ(main->measuredGap(), 0.0);
    EXPECT_EQ(main->gapDifference(), 0.0);
    EXPECT_EQ(main->originalShim(), 0.0);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, TypingAfterAResultKeepsTheResult) {
    calculateWith("0.20", "2.45", "0.175");
    type(main, "txtGap", "5");
    EXPECT_TRUE(resultShown());
    EXPECT_EQ(text(main, "txtNewShim"), "2.475");
}

TEST_F(MainWindow, InitialState) {
    EXPECT_EQ(main->windowTitle(), "Dorvan's Clearmark");
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(resultHidden());
    for (const char* name : {"txtGap", "txtSpec", "txtOldShim", "txtNewShim"})
        EXPECT_EQ(text(main, name), "") << name;
    EXPECT_EQ(main->focusWidget(), widget(main, "cmdExit"));
    EXPECT_EQ(main->client()->size(), QSize(496, 214)); // 7440 x 3210 twips below the menu
    EXPECT_EQ(main->client()->mapTo(main, QPoint(0, 0)).y(),
              main->findChild<QMenuBar*>()->height());

    const Qt::WindowFlags flags = main->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(main->minimumSize(), main->maximumSize()); // sizable

    for (QPushButton* button : main->findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, MenuBarHoldsHelpWithAboutAndHelp) {
    auto* menu = main->findChild<QMenu*>("mnuHelp");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Help");
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->objectName(), "mnuAbout");
    EXPECT_EQ(entries[0]->text(), "About");
    EXPECT_EQ(entries[1]->objectName(), "mnuHelp2");
    EXPECT_EQ(entries[1]->text(), "Help");
    const QList<QAction*> bar = main->findChild<QMenuBar*>()->actions();
    ASSERT_EQ(bar.size(), 1);
    EXPECT_EQ(bar[0]->menu(), menu);
}

TEST_F(MainWindow, TabKeyFollowsTheTabIndexes) {
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    widget(main, "cmdExit")->setFocus();

    auto tabThrough = [&](int presses) {
        QStringList order;
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        return order;
    };
    EXPECT_EQ(tabThrough(9),
              QStringList({"txtGap", "txtOldShim", "txtSpec", "cmdCalculate", "cmdReset",
                           "cmdConverter", "cmdIntake", "cmdExhaust", "cmdExit"}));

    // The result box joins the order while it is shown.
    calculateWith("0.20", "2.45", "0.175");
    widget(main, "cmdReset")->setFocus();
    EXPECT_EQ(tabThrough(2), QStringList({"txtNewShim", "cmdConverter"}));
}

// The design, written down independently of the window's own table.
struct DesignRow {
    const char* name;
    const char* kind;
    int left, top, width, height; // twips
    int fontPixels;
    bool bold;
    bool visible;
};

TEST_F(MainWindow, EveryControlMatchesTheDesign) {
    const DesignRow rows[] = {
        {"cmdExhaust", "QPushButton", 4440, 600, 375, 255, 11, false, true},
        {"cmdIntake", "QPushButton", 4440, 360, 375, 255, 11, false, true},
        {"cmdConverter", "QPushButton", 5160, 2040, 1575, 615, 13, true, true},
        {"txtNewShim", "QLineEdit", 2520, 1560, 1695, 495, 24, true, false},
        {"txtOldShim", "QLineEdit", 240, 1560, 1695, 525, 24, true, true},
        {"txtSpec", "QLineEdit", 2520, 360, 1695, 495, 24, true, true},
        {"txtGap", "QLineEdit", 240, 360, 1695, 495, 24, true, true},
        {"cmdReset", "QPushButton", 1560, 2520, 855, 375, 11, false, true},
        {"cmdCalculate", "QPushButton", 2640, 2520, 855, 375, 11, false, true},
        {"cmdExit", "QPushButton", 480, 2520, 855, 375, 11, false, true},
        {"lblConvert", "QLabel", 4800, 1080, 2295, 1095, 16, true, true},
        {"lblExhaust", "QLabel", 4920, 600, 1815, 255, 11, false, true},
        {"lblIntake", "QLabel", 4920, 360, 1815, 255, 11, false, true},
        {"lblNewShim", "QLabel", 2520, 1320, 1695, 255, 11, false, false},
        {"lblOldShim", "QLabel", 360, 1320, 1695, 255, 11, false, true},
        {"lblSpec", "QLabel", 2520, 120, 2055, 255, 11, false, true},
        {"lblGap", "QLabel", 240, 120, 1935, 255, 11, false, true},
    };
    const QObjectList children = main->client()->children();
    int controls = 0;
    for (const QObject* object : children)
        controls += object->isWidgetType() ? 1 : 0;
    EXPECT_EQ(controls, std::size(rows));

    for (const DesignRow& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* w = widget(main, row.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), main->client());
        EXPECT_TRUE(w->inherits(row.kind));
        EXPECT_EQ(w->geometry(), QRect(qRound(row.left / 15.0), qRound(row.top / 15.0),
                                       qRound(row.width / 15.0), qRound(row.height / 15.0)));
        // MS Sans Serif's bitmaps draw the regular text of an unscaled screen.
        const bool bitmaps = row.fontPixels == 11 && !row.bold && main->devicePixelRatioF() == 1;
        EXPECT_EQ(w->font().family(),
                  bitmaps ? QString("MS Sans Serif") : runtime::fallbackFontFamily());
        EXPECT_EQ(w->font().pixelSize(), row.fontPixels);
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(!w->isHidden(), row.visible);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_TRUE(label->wordWrap());
            EXPECT_TRUE(label->autoFillBackground());
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
            EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
            const Qt::Alignment horizontal = label->alignment() & Qt::AlignHorizontal_Mask;
            EXPECT_EQ(horizontal,
                      row.name == std::string("lblConvert") ? Qt::AlignHCenter : Qt::AlignLeft);
        }
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            EXPECT_TRUE(box->hasFrame());
            EXPECT_GE(box->maxLength(), 1'000'000);
            EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        }
    }

    // Windowed controls stand above the labels: the result box covers its label's last
    // pixel, and "Converter" is not hidden under the hint above it.
    const QPoint overlap = widget(main, "cmdConverter")->geometry().topLeft() + QPoint(10, 2);
    EXPECT_EQ(main->client()->childAt(overlap), widget(main, "cmdConverter"));
    const QPoint oldShimEdge = widget(main, "txtOldShim")->geometry().topLeft() + QPoint(50, 0);
    EXPECT_EQ(main->client()->childAt(oldShimEdge), widget(main, "txtOldShim"));
}

// Run again with QT_SCALE_FACTOR=2: the window is drawn with twice the pixels and keeps
// the proportions of its design.
TEST_F(MainWindow, ScaleKeepsTheDesignProportions) {
    const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0;
    EXPECT_EQ(main->devicePixelRatioF(), scale);
    const QImage image = main->client()->grab().toImage();
    EXPECT_EQ(image.size(), QSize(qRound(496 * scale), qRound(214 * scale)));
    // "Converter" at its design place, in the scaled picture too.
    const QRect converter = widget(main, "cmdConverter")->geometry();
    EXPECT_EQ(converter, QRect(344, 136, 105, 41));
    EXPECT_EQ(widget(main, "cmdConverter")->grab().size(), converter.size() * scale);
}

TEST_F(MainWindow, EveryCaptionFitsItsRectangle) {
    for (QLabel* label : main->client()->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        const QRect needed =
            metrics.boundingRect(QRect(QPoint(0, 0), label->size()),
                                 int(label->alignment()) | Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.width(), label->width());
        EXPECT_LE(needed.height(), label->height());
    }
    for (auto* button : main->client()->findChildren<runtime::CommandButton*>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QFontMetrics metrics(button->font());
        const QRect area = button->captionRect();
        const QRect needed =
            metrics.boundingRect(area, runtime::CommandButton::kCaptionFlags, button->text());
        EXPECT_TRUE(area.contains(needed)) << "needs " << needed.width() << "x" << needed.height()
                                           << " in " << area.width() << "x" << area.height();
    }
}

} // namespace
} // namespace clearmark
