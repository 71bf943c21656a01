// The Qt implementation's own pieces: the design font, the real message box, where a window
// is placed, and what the option buttons and labels do as Qt widgets.
#include "runtime/forms.h"
#include "runtime/msgbox.h"
#include "runtime/qt/access.h"
#include "runtime/qt/fonts.h"
#include "runtime/qt/msgbox.h"
#include "runtime/qt/widgets.h"
#include "support/gui_support.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgButtons;
using runtime::MsgIcon;
using runtime::qt::clientOf;
using runtime::qt::widgetOf;
using testing_support::driver;
namespace qt = runtime::qt;

// A small window of its own: placed at a fixed start, with a text box, two option buttons
// and a label.
// clang-format off
constexpr runtime::ControlDesign kProbeControls[] = {
//   name        kind                               caption left  top  width height tab
    {"txtFirst", runtime::ControlKind::TextBox,      "",     120,  240, 1500,  375,  1},
    {"optA",     runtime::ControlKind::OptionButton, "A",    120,  700,  900,  255,  2},
    {"optB",     runtime::ControlKind::OptionButton, "B",   1200,  700,  900,  255,  3},
    {"lblNote",  runtime::ControlKind::Label,        "",     120, 1000, 2700,  735,  4},
};
// clang-format on

constexpr runtime::WindowDesign kProbeWindow{
    .name = "frmProbe",
    .caption = "Probe",
    .clientWidth = 3000,
    .clientHeight = 2000,
    .controls = kProbeControls,
    .start = runtime::StartPosition{.left = 1830, .top = 1425},
};

class frmProbe : public runtime::Form {
public:
    frmProbe() : Form(kProbeWindow) {}
};

TEST(QtDesignFont, MsSansSerifWhereItCanDrawTheSizeElseARealFallback) {
    qt::registerDesignFont();
    qt::registerDesignFont(); // a second call changes nothing
    const QString design = QString::fromLatin1(qt::kDesignFontFamily);
    ASSERT_TRUE(QFontDatabase::families().contains(design));
    const QString fallback = qt::fallbackFontFamily();
    const bool scalable = QFontDatabase::isSmoothlyScalable(design);
    // Where the design font is scalable it draws everything and no fallback is needed.
    EXPECT_EQ(fallback.isEmpty(), scalable);
    const bool unscaled = qApp->devicePixelRatio() == 1;

    struct Case {
        double points;
        bool bold;
        int pixels;
        bool bitmaps; // what MS Sans Serif's bitmaps draw on an unscaled screen
    };
    const Case cases[] = {
        {8.25, false, 11, true}, {8.25, true, 11, false}, {9.75, true, 13, false},
        {12, true, 16, false},   {18, true, 24, false},   {12, false, 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.points << (c.bold ? " bold" : " regular"));
        const QFont font = qt::designFont(c.points, c.bold);
        const bool inDesignFont = scalable || (c.bitmaps && unscaled);
        EXPECT_EQ(font.family(), inDesignFont ? design : fallback);
        EXPECT_EQ(font.pixelSize(), c.pixels);
        EXPECT_EQ(font.bold(), c.bold);
        // Whatever family draws it is installed: nothing is substituted.
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), font.family());
        // A scalable face draws the size asked for; bitmaps draw their own strike.
        if (QFontDatabase::isSmoothlyScalable(info.family())) {
            EXPECT_EQ(info.pixelSize(), c.pixels);
        }
        if (c.bold) {
            // A real bold face, not bitmaps made heavier.
            EXPECT_TRUE(QFontDatabase::isSmoothlyScalable(info.family()));
            EXPECT_TRUE(QFontDatabase::styles(info.family()).contains(QStringLiteral("Bold")));
        }
        // The fallback's regular face is condensed to the narrower width of MS Sans Serif.
        if (!inDesignFont && !c.bold) {
            EXPECT_GT(font.stretch(), int(QFont::AnyStretch));
            EXPECT_LT(font.stretch(), int(QFont::Unstretched));
            QFont unstretched = font;
            unstretched.setStretch(QFont::Unstretched);
            const QString sample = QStringLiteral("Enter values in Millimeters");
            EXPECT_LT(QFontMetrics(font).horizontalAdvance(sample),
                      QFontMetrics(unstretched).horizontalAdvance(sample));
        } else {
            EXPECT_TRUE(font.stretch() == QFont::AnyStretch || font.stretch() == QFont::Unstretched)
                << font.stretch();
        }
    }
}

// The real box on the screen, with no presenter taking it.
class MsgBoxOnScreen : public ::testing::Test {
protected:
    void SetUp() override { previous_ = runtime::setMsgBoxPresenter({}); }
    void TearDown() override { runtime::setMsgBoxPresenter(std::move(previous_)); }

    struct SeenBox {
        bool shown = false;
        QString caption;
        QString text;
        QStringList buttons;
        int buttonIcons = 0; // buttons that carry an icon
        QString defaultButton;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Qt::WindowModality modality = Qt::NonModal;
        int width = 0;
    };

    // Once the next box is up: records it, then lets `close` close it.
    static void whenTheBoxIsUp(SeenBox& seen, std::function<void(QMessageBox*)> close) {
        QTimer::singleShot(0, [&seen, close = std::move(close)] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                ADD_FAILURE() << "no modal box";
                return;
            }
            seen.shown = true;
            seen.caption = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.modality = box->windowModality();
            seen.width = box->width();
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons << button->text().remove(QLatin1Char('&'));
                seen.buttonIcons += button->icon().isNull() ? 0 : 1;
            }
            seen.buttons.sort();
            if (box->defaultButton() != nullptr)
                seen.defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
            close(box);
        });
    }
    static void pressWhenUp(SeenBox& seen, QMessageBox::StandardButton press) {
        whenTheBoxIsUp(seen, [press](QMessageBox* box) {
            if (QAbstractButton* button = box->button(press))
                button->click();
            else
                box->reject();
        });
    }

private:
    runtime::MsgBoxPresenter previous_;
};

// The application's style for a while, as a desktop whose theme puts icons on dialog
// buttons has it.
class StyleWithButtonIcons {
public:
    StyleWithButtonIcons() : name_(QApplication::style()->name()) {
        class Proxy : public QProxyStyle {
        public:
            using QProxyStyle::QProxyStyle;
            int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returned) const override {
                if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
                    return 1;
                return QProxyStyle::styleHint(hint, option, widget, returned);
            }
        };
        QApplication::setStyle(new Proxy(QStyleFactory::create(name_)));
    }
    ~StyleWithButtonIcons() { QApplication::setStyle(QStyleFactory::create(name_)); }
    StyleWithButtonIcons(const StyleWithButtonIcons&) = delete;
    StyleWithButtonIcons& operator=(const StyleWithButtonIcons&) = delete;

private:
    QString name_;
};

// The answer the real box gives to what follows it.
std::optional<MsgAnswer> answerOf(const std::string& text, MsgButtons buttons,
                                  MsgIcon icon = MsgIcon::None,
                                  std::optional<std::string_view> caption = {}) {
    std::optional<MsgAnswer> answer;
    runtime::msgBox(text, buttons, icon, caption, [&answer](MsgAnswer a) { answer = a; });
    return answer;
}

TEST_F(MsgBoxOnScreen, ButtonsCarryNoIconsWhateverTheStyle) {
    const StyleWithButtonIcons style;
    SeenBox seen;
    pressWhenUp(seen, QMessageBox::Cancel);
    runtime::msgBox("Are you sure you want to Exit program", MsgButtons::OKCancel,
                    MsgIcon::Information, "EXIT Program");
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.buttons.size(), 2);
    EXPECT_EQ(seen.buttonIcons, 0);
}

TEST_F(MsgBoxOnScreen, ShowsCaptionTextButtonsAndIconAndReturnsTheAnswer) {
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        std::optional<std::string_view> caption;
        QMessageBox::StandardButton press;
        MsgAnswer expected;
        QStringList buttonTexts;
        QMessageBox::Icon qtIcon;
        const char* shownCaption;
    };
    const Case cases[] = {
        {MsgButtons::OK,
         MsgIcon::Critical,
         "Error",
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"OK"},
         QMessageBox::Critical,
         "Error"},
        {MsgButtons::OKCancel,
         MsgIcon::Information,
         "EXIT Program",
         QMessageBox::Cancel,
         MsgAnswer::Cancel,
         {"Cancel", "OK"},
         QMessageBox::Information,
         "EXIT Program"},
        {MsgButtons::OKCancel,
         MsgIcon::Information,
         "EXIT Program",
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"Cancel", "OK"},
         QMessageBox::Information,
         "EXIT Program"},
        {MsgButtons::OK,
         MsgIcon::Exclamation,
         "Warned",
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"OK"},
         QMessageBox::Warning,
         "Warned"},
        {MsgButtons::OK,
         MsgIcon::None,
         std::nullopt,
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"OK"},
         QMessageBox::NoIcon,
         "Clearmark"},
        {MsgButtons::YesNoCancel,
         MsgIcon::Question,
         "Save",
         QMessageBox::Yes,
         MsgAnswer::Yes,
         {"Cancel", "No", "Yes"},
         QMessageBox::Question,
         "Save"},
        {MsgButtons::YesNoCancel,
         MsgIcon::Question,
         "Save",
         QMessageBox::No,
         MsgAnswer::No,
         {"Cancel", "No", "Yes"},
         QMessageBox::Question,
         "Save"},
        {MsgButtons::YesNoCancel,
         MsgIcon::Question,
         "Save",
         QMessageBox::Cancel,
         MsgAnswer::Cancel,
         {"Cancel", "No", "Yes"},
         QMessageBox::Question,
         "Save"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownCaption);
        SeenBox seen;
        pressWhenUp(seen, c.press);
        const std::string text = "Are you sure you want to Exit program";
        EXPECT_EQ(answerOf(text, c.buttons, c.icon, c.caption), c.expected);
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.text.toStdString(), text);
        EXPECT_EQ(seen.caption.toStdString(), c.shownCaption);
        EXPECT_EQ(seen.buttons, c.buttonTexts);
        // The first button is the default: OK, or Yes.
        EXPECT_EQ(seen.defaultButton, c.buttons == MsgButtons::YesNoCancel ? QStringLiteral("Yes")
                                                                           : QStringLiteral("OK"));
        EXPECT_EQ(seen.icon, c.qtIcon);
        EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    }
}

TEST_F(MsgBoxOnScreen, IsWideEnoughForALongCaption) {
    const std::string caption =
        "Please Adjust your new shim size as follows (for Triumph Motorcycles):";
    const QString qtCaption = QString::fromStdString(caption);
    SeenBox seen;
    pressWhenUp(seen, QMessageBox::Ok);
    runtime::msgBox("Bad data", MsgButtons::OK, MsgIcon::Exclamation, caption);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, qtCaption);
    EXPECT_GE(seen.width, qt::msgBoxWidthForCaption(qtCaption));
    // The short text alone would make a narrower box.
    EXPECT_GT(qt::msgBoxWidthForCaption(qtCaption),
              qt::msgBoxWidthForCaption(QStringLiteral("Error")));
    EXPECT_GT(qt::msgBoxWidthForCaption(qtCaption),
              QFontMetrics(QApplication::font()).horizontalAdvance(qtCaption));
}

TEST_F(MsgBoxOnScreen, EscAnswersCancelWhereOfferedAndEnterTheDefaultOK) {
    struct Case {
        const char* name;
        Qt::Key key;
        MsgButtons buttons;
        MsgAnswer expected;
    };
    const Case cases[] = {
        {"Esc with Cancel", Qt::Key_Escape, MsgButtons::OKCancel, MsgAnswer::Cancel},
        {"Esc with OK only", Qt::Key_Escape, MsgButtons::OK, MsgAnswer::OK},
        {"Enter with Cancel", Qt::Key_Return, MsgButtons::OKCancel, MsgAnswer::OK},
        {"Enter with OK only", Qt::Key_Return, MsgButtons::OK, MsgAnswer::OK},
        {"Esc with Yes, No and Cancel", Qt::Key_Escape, MsgButtons::YesNoCancel, MsgAnswer::Cancel},
        {"Enter with Yes, No and Cancel", Qt::Key_Return, MsgButtons::YesNoCancel, MsgAnswer::Yes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SeenBox seen;
        const Qt::Key key = c.key;
        whenTheBoxIsUp(seen, [key](QMessageBox* box) { QTest::keyClick(box, key); });
        EXPECT_EQ(answerOf("x", c.buttons), c.expected);
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the box is still up";
    }
}

// The probe window, loaded fresh for each test and gone after it.
class QtRuntime : public testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        probe = &forms().show<frmProbe>();
    }
    frmProbe* probe = nullptr;
};

TEST_F(QtRuntime, FixedStartPlacesTheClientArea) {
    QWidget* window = widgetOf(*probe);
    QWidget* client = clientOf(*probe);
    ASSERT_TRUE(window->isVisible());
    // 1830, 1425 twips; a client area of 3000 x 2000 twips, which is the whole window.
    EXPECT_EQ(window->geometry().topLeft(), QPoint(122, 95));
    EXPECT_EQ(client->mapToGlobal(QPoint(0, 0)), QPoint(122, 95));
    EXPECT_EQ(client->size(), QSize(200, 133));
    EXPECT_EQ(window->size(), client->size());
    // Sizable: the size is not fixed.
    EXPECT_NE(window->minimumSize(), window->maximumSize());
}

TEST_F(QtRuntime, OptionButtonsExcludeEachOtherAsQtButtonsAfterAllWereCleared) {
    const auto a = probe->control<runtime::OptionButton>("optA");
    const auto b = probe->control<runtime::OptionButton>("optB");
    QRadioButton* qa = widgetOf<QRadioButton>(a);
    QRadioButton* qb = widgetOf<QRadioButton>(b);
    ASSERT_NE(qa, nullptr);
    ASSERT_NE(qb, nullptr);
    struct Step {
        const char* what;
        std::function<void()> act;
        bool aChecked;
        bool bChecked;
    };
    const Step steps[] = {
        {"A set", [&] { a.setValue(true); }, true, false},
        {"B set", [&] { b.setValue(true); }, false, true},
        {"B cleared", [&] { b.setValue(false); }, false, false},
        {"A clicked", [&] { driver().click(a); }, true, false},
        {"B clicked", [&] { driver().click(b); }, false, true},
        {"B cleared again", [&] { b.setValue(false); }, false, false},
        {"B clicked after", [&] { driver().click(b); }, false, true},
        {"A clicked after", [&] { driver().click(a); }, true, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(qa->isChecked(), step.aChecked);
        EXPECT_EQ(qb->isChecked(), step.bChecked);
        // Clearing keeps the buttons in their exclusive group.
        EXPECT_TRUE(qa->autoExclusive());
        EXPECT_TRUE(qb->autoExclusive());
    }
}

TEST_F(QtRuntime, AMovedControlKeepsItsSizeAndTheClientAreaTakesItsNewHeight) {
    const auto box = probe->control<runtime::TextBox>("txtFirst");
    QWidget* widget = widgetOf<QWidget>(box);
    const QSize size = widget->size();
    box.move(1500, 1200);
    EXPECT_EQ(widget->geometry(), QRect(QPoint(100, 80), size));
    // Below the menu bar, if there is one; the width stays.
    for (runtime::Form* form :
         {static_cast<runtime::Form*>(probe), &static_cast<runtime::Form&>(start())}) {
        SCOPED_TRACE(form->design().name);
        QWidget* window = widgetOf(*form);
        const int width = window->width();
        const int menuBar = window->height() - clientOf(*form)->height();
        form->setClientHeight(4500);
        EXPECT_EQ(clientOf(*form)->size(), QSize(width, 300));
        EXPECT_EQ(window->height(), menuBar + 300);
    }
}

// Whether anything but the background is drawn in the rectangle (logical pixels).
bool inkIn(const QImage& image, const QRect& area, const QColor& background) {
    const qreal scale = image.devicePixelRatio();
    const QRect pixels(
        QPoint(qRound(area.left() * scale), qRound(area.top() * scale)),
        QPoint(qRound((area.right() + 1) * scale) - 1, qRound((area.bottom() + 1) * scale) - 1));
    for (int y = pixels.top(); y <= pixels.bottom() && y < image.height(); ++y)
        for (int x = pixels.left(); x <= pixels.right() && x < image.width(); ++x)
            if (image.pixelColor(x, y) != background)
                return true;
    return false;
}

TEST_F(QtRuntime, LabelStartsANewLineAfterARunOfBlanks) {
    const auto note = probe->control<runtime::Label>("lblNote");
    auto* label = widgetOf<qt::Label>(note);
    ASSERT_NE(label, nullptr);
    ASSERT_EQ(label->width(), 180);
    struct Case {
        const char* caption;
        QStringList lines;
    };
    const Case cases[] = {
        {"Top  Bottom", {"Top", "Bottom"}},
        {"One   Two  Three", {"One", "Two", "Three"}},
        {"Two words  and more words", {"Two words", "and more words"}},
        {"No run of blanks here", {"No run of blanks here"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        note.setCaption(c.caption);
        // The caption is kept exactly as given; only its drawing breaks the lines.
        EXPECT_EQ(label->text(), QString::fromLatin1(c.caption));
        EXPECT_EQ(label->displayLines(), c.lines);
    }

    // Drawn: "Top" alone on the first line, "Bottom" on the second, nothing below.
    note.setCaption("Top  Bottom");
    const QImage image = label->grab().toImage();
    const QColor background = label->palette().color(QPalette::Window);
    const QFontMetrics metrics(label->font());
    const int line = metrics.lineSpacing();
    const int topWidth = metrics.horizontalAdvance(QStringLiteral("Top"));
    EXPECT_TRUE(inkIn(image, QRect(0, 0, topWidth, line), background));
    EXPECT_FALSE(
        inkIn(image, QRect(topWidth + 2, 0, label->width() - topWidth - 2, line), background));
    EXPECT_TRUE(inkIn(image, QRect(0, line, label->width(), line), background));
    EXPECT_FALSE(
        inkIn(image, QRect(0, 2 * line, label->width(), label->height() - 2 * line), background));
}

} // namespace
} // namespace clearmark
