#include "expected_boxes.h"
#include "fonts.h"
#include "frmClearmark.h"
#include "frmConvert.h"
#include "gui_support.h"
#include "measurement.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTest>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;
using testing_support::GuiTest;

const MsgBoxRequest& kNoDataBox = expected::kNoData;
const MsgBoxRequest& kBadDataBox = expected::kConvertBadData;
const MsgBoxRequest& kNoDataToCopyBox = expected::kNoDataToCopy;
using expected::goodDataToCopy;

enum class Direction { None, MmToInches, InchesToMm };

class Converter : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        main = start<frmClearmark>();
        ASSERT_NE(main, nullptr);
        conv = open();
        ASSERT_NE(conv, nullptr);
    }

    frmConvert* open() {
        click(main, "cmdConverter");
        return forms().find<frmConvert>();
    }
    QLineEdit* data() const { return child<QLineEdit>(conv, "txtData"); }
    QRadioButton* option(const char* name) const { return child<QRadioButton>(conv, name); }
    Direction direction() const {
        const bool toInches = option("optMmToInches")->isChecked();
        const bool toMm = option("optInchesToMm")->isChecked();
        EXPECT_FALSE(toInches && toMm) << "both directions selected";
        return toInches ? Direction::MmToInches : toMm ? Direction::InchesToMm : Direction::None;
    }
    void choose(Direction d) {
        if (d == Direction::MmToInches)
            QTest::mouseClick(option("optMmToInches"), Qt::LeftButton, {}, QPoint(6, 6));
        if (d == Direction::InchesToMm)
            QTest::mouseClick(option("optInchesToMm"), Qt::LeftButton, {}, QPoint(6, 6));
        ASSERT_EQ(direction(), d);
    }

    frmClearmark* main = nullptr;
    frmConvert* conv = nullptr;
};

struct ConversionCase {
    const char* name;
    Direction direction;
    QString input;
    QStringList results; // after each further Convert
};

class ConverterConverts : public Converter, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConverterConverts, WritesTheResultBackIntoTheSameBox) {
    const ConversionCase& c = GetParam();
    choose(c.direction);
    type(conv, "txtData", c.input);
    for (const QString& expected : c.results) {
        click(conv, "cmdConvert1");
        EXPECT_EQ(data()->text(), expected);
        EXPECT_EQ(direction(), c.direction);
        EXPECT_EQ(formatMeasurement(conv->convertedValue()), expected.toStdString())
            << "the shown text is the stored value, written";
    }
    EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, ConverterConverts,
    ::testing::Values(
        ConversionCase{"inchOfMm", Direction::MmToInches, "25.4", {"1", "0.0393700787401575"}},
        ConversionCase{"hundredth", Direction::MmToInches, "0.254", {"0.01"}},
        ConversionCase{"twiceToMm", Direction::InchesToMm, "1", {"25.4", "645.16"}},
        ConversionCase{"two", Direction::InchesToMm, "2", {"50.8"}},
        ConversionCase{"negative", Direction::InchesToMm, "-1", {"-25.4"}},
        ConversionCase{"blanksAround", Direction::InchesToMm, "  2\t", {"50.8"}},
        ConversionCase{"largeButFinite", Direction::InchesToMm, "1e300", {"2.54e+301"}},
        ConversionCase{"tiny", Direction::MmToInches, "1e-400", {"0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Converter, SmallMillimetresWriteAtMostFifteenDigits) {
    choose(Direction::MmToInches);
    type(conv, "txtData", "0.2");
    click(conv, "cmdConvert1");
    const QString text = data()->text();
    QString digits = text;
    digits.remove(QRegularExpression("[eE][-+]?\\d+$")).remove('.').remove('-');
    while (digits.startsWith('0'))
        digits.remove(0, 1);
    EXPECT_LE(digits.size(), 15) << text.toStdString();
    const double shown = *parseMeasurement(text.toStdString());
    EXPECT_NEAR(shown, 0.2 / 25.4, 1e-17);
}

TEST_F(Converter, NoDirectionLeavesTheTextAndSaysNothing) {
    for (const QString& text : {QString("25.4"), QString("abc"), QString("   ")}) {
        data()->setText(text);
        click(conv, "cmdConvert1");
        EXPECT_EQ(data()->text(), text);
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(conv->convertedValue(), 0.0);
}

TEST_F(Converter, EmptyTextShowsOnlyTheNoDataBox) {
    for (Direction d : {Direction::None, Direction::InchesToMm, Direction::MmToInches}) {
        if (d != Direction::None)
            choose(d);
        boxes.clear();
        data()->clear();
        click(conv, "cmdConvert1");
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], kNoDataBox);
        EXPECT_EQ(direction(), d);
        EXPECT_EQ(data()->text(), "");
    }
}

TEST_F(Converter, ResetEmptiesTheTextAndKeepsDirectionAndValue) {
    choose(Direction::InchesToMm);
    type(conv, "txtData", "2");
    click(conv, "cmdConvert1");
    click(conv, "cmdReset");
    EXPECT_EQ(data()->text(), "");
    EXPECT_EQ(direction(), Direction::InchesToMm);
    EXPECT_EQ(conv->convertedValue(), 50.8);
    EXPECT_TRUE(boxes.shown().empty());
}

struct BadConversion {
    const char* name;
    Direction direction;
    QString input;
};

class ConverterRefuses : public Converter, public ::testing::WithParamInterface<BadConversion> {};

TEST_P(ConverterRefuses, ShowsBadDataAndChangesNothing) {
    const BadConversion& c = GetParam();
    choose(c.direction);
    data()->setText("3");
    click(conv, "cmdConvert1"); // a value to keep
    const double before = conv->convertedValue();
    boxes.clear();

    data()->setText(c.input);
    click(conv, "cmdConvert1");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kBadDataBox);
    EXPECT_EQ(data()->text(), c.input);
    EXPECT_EQ(direction(), c.direction);
    EXPECT_EQ(conv->convertedValue(), before);
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(conv->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConverterRefuses,
    ::testing::Values(BadConversion{"letters", Direction::MmToInches, "abc"},
                      BadConversion{"blanks", Direction::InchesToMm, "   "},
                      BadConversion{"overflowingProduct", Direction::InchesToMm, "1e308"},
                      BadConversion{"negativeOverflow", Direction::InchesToMm, "-7.1e306"},
                      BadConversion{"beyondDoubles", Direction::MmToInches, "1e999"},
                      BadConversion{"hugeText", Direction::MmToInches, QString(100'000, 'x')},
                      BadConversion{"comma", Direction::InchesToMm, "2,5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Converter, CopyOfAnEmptyBoxShowsOnlyItsBoxAndKeepsTheClipboard) {
    QGuiApplication::clipboard()->setText("earlier");
    choose(Direction::InchesToMm);
    click(conv, "cmdCopy");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], kNoDataToCopyBox);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "earlier");
    EXPECT_EQ(forms().find<frmConvert>(), conv);
    EXPECT_TRUE(conv->isVisible());
    EXPECT_EQ(direction(), Direction::InchesToMm);
}

TEST_F(Converter, CopyPutsTheTextOnTheClipboardAndUnloads) {
    QGuiApplication::clipboard()->setText("earlier");
    QString clipboardDuringBox;
    boxes.whileShown(
        [&](const MsgBoxRequest&) { clipboardDuringBox = QGuiApplication::clipboard()->text(); });
    choose(Direction::MmToInches);
    type(conv, "txtData", "25.4");
    const int loadsBefore = forms().timesLoaded("frmConvert");
    QPointer<frmConvert> old = conv;
    click(conv, "cmdCopy");

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], goodDataToCopy("25.4"));
    EXPECT_EQ(clipboardDuringBox, "earlier"); // copied only once the box is closed
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "25.4");
    EXPECT_EQ(forms().find<frmConvert>(), nullptr);
    flushDeletes();
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->isVisible());

    conv = open();
    ASSERT_NE(conv, nullptr);
    EXPECT_EQ(forms().timesLoaded("frmConvert"), loadsBefore + 1);
    EXPECT_EQ(data()->text(), "");
    EXPECT_EQ(direction(), Direction::None);
}

TEST_F(Converter, CopyTakesAnyTextAsItStands) {
    for (const QString& text :
         {QString("abc"), QString("   "), QString(" 1 2 "), QString(100'000, '7')}) {
        conv = forms().show<frmConvert>();
        data()->setText(text);
        boxes.clear();
        click(conv, "cmdCopy");
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0], goodDataToCopy(text));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
        EXPECT_EQ(forms().find<frmConvert>(), nullptr);
    }
}

TEST_F(Converter, PastedIntoTheMainWindowItGivesTheShim) {
    // 0.00787401574803150 inches, converted and copied, is the measured gap of 0.2 mm.
    choose(Direction::InchesToMm);
    type(conv, "txtData", "0.0078740157480315");
    click(conv, "cmdConvert1");
    EXPECT_EQ(data()->text(), "0.2");
    click(conv, "cmdCopy");
    boxes.clear();

    auto* gap = child<QLineEdit>(main, "txtGap");
    gap->setFocus();
    QTest::keyClick(gap, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(gap->text(), "0.2");
    type(main, "txtOldShim", "2.45");
    click(main, "cmdIntake");
    click(main, "cmdCalculate");
    EXPECT_EQ(text(main, "txtNewShim"), "2.475");
}

TEST_F(Converter, OpensAtItsPlaceWithTheFocusInTheTextBox) {
    EXPECT_EQ(conv->windowTitle(), "Conversion Form");
    EXPECT_EQ(conv->geometry().topLeft(), QPoint(122, 95)); // 1830, 1425 twips
    EXPECT_EQ(conv->client()->size(), QSize(312, 206));     // 4680 x 3090 twips
    EXPECT_EQ(conv->focusWidget(), data());
    EXPECT_EQ(direction(), Direction::None);
    EXPECT_EQ(data()->text(), "");
    const Qt::WindowFlags flags = conv->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(conv->parentWidget(), nullptr);
    QStringList order;
    for (QWidget* w : conv->tabOrder())
        order << w->objectName();
    EXPECT_EQ(order, QStringList({"txtData", "optMmToInches", "optInchesToMm", "cmdCopy",
                                  "cmdReset", "cmdConvert1"}));
}

TEST_F(Converter, EveryControlMatchesTheDesignAndEveryCaptionFits) {
    struct Row {
        const char* name;
        const char* kind;
        int left, top, width, height, fontPixels;
        bool bold;
        const char* caption;
    };
    const Row rows[] = {
        {"cmdConvert1", "QPushButton", 360, 1440, 1695, 615, 16, true, "Convert"},
        {"cmdReset", "QPushButton", 2880, 2160, 1335, 615, 16, true, "Reset"},
        {"cmdCopy", "QPushButton", 360, 2280, 1695, 615, 11, true, "Copy to Clipboard  and exit"},
        {"optInchesToMm", "QRadioButton", 2760, 960, 1575, 255, 11, false, "Inches to MM"},
        {"optMmToInches", "QRadioButton", 2760, 480, 1815, 195, 11, false, "MM to Inches"},
        {"txtData", "QLineEdit", 240, 480, 1935, 495, 24, true, ""},
        {"lblconvert", "QLabel", 360, 120, 4095, 375, 11, false,
         "Enter the measurement below, then check which method"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* w = widget(conv, row.name);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(row.kind));
        EXPECT_EQ(w->geometry(), QRect(qRound(row.left / 15.0), qRound(row.top / 15.0),
                                       qRound(row.width / 15.0), qRound(row.height / 15.0)));
        EXPECT_EQ(w->font().pixelSize(), row.fontPixels);
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(text(conv, row.name), row.caption);
    }
    // Captions fit: the label wrapped in its rectangle, the buttons in their caption area,
    // the option buttons beside their indicator on one line.
    auto* label = child<QLabel>(conv, "lblconvert");
    const QRect needed =
        QFontMetrics(label->font()).boundingRect(label->rect(), Qt::TextWordWrap, label->text());
    EXPECT_LE(needed.height(), label->height());
    for (auto* button : conv->client()->findChildren<runtime::CommandButton*>()) {
        const QRect area = button->captionRect();
        EXPECT_TRUE(area.contains(
            QFontMetrics(button->font())
                .boundingRect(area, runtime::CommandButton::kCaptionFlags, button->text())))
            << button->objectName().toStdString();
    }
    for (auto* radio : conv->client()->findChildren<QRadioButton*>()) {
        QStyleOptionButton option;
        option.initFrom(radio);
        const QRect contents =
            radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
        EXPECT_LE(QFontMetrics(radio->font()).horizontalAdvance(radio->text()), contents.width())
            << radio->objectName().toStdString();
        EXPECT_LE(QFontMetrics(radio->font()).height(), radio->height())
            << radio->objectName().toStdString();
    }
}

} // namespace
} // namespace clearmark
