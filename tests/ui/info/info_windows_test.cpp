#include "expected_boxes.h"
#include "frmAbout.h"
#include "frmClearmark.h"
#include "frmConvert.h"
#include "frmHelpCalculator.h"
#include "gui_support.h"
#include "icons.h"
#include "syscolors.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;
using testing_support::GuiTest;

class InfoWindows : public testing_support::WithMainWindow {
protected:
    void choose(const char* entry) {
        auto* action = main->findChild<QAction*>(entry);
        ASSERT_NE(action, nullptr);
        action->trigger();
    }
    frmHelpCalculator* openHelp() {
        choose("mnuHelp2");
        return forms().find<frmHelpCalculator>();
    }
    frmAbout* openAbout() {
        choose("mnuAbout");
        return forms().find<frmAbout>();
    }
    static bool captionFits(QLabel* label) {
        const QRect needed =
            QFontMetrics(label->font())
                .boundingRect(label->rect(), int(label->alignment()) | Qt::TextWordWrap,
                              label->text());
        return needed.width() <= label->width() && needed.height() <= label->height();
    }
};

// The help text, written down here on its own.
const QStringList kParagraphs = {
    "Enter the measured valve clearance (in Millimeters) in the Measured gap box.",
    "Enter the measured Original shim width into the Original Shim box.",
    "(These values may also be pasted from the converter)",
    "Selecting either the Intake (0.175mm) or Exhaust (0.275mm) default buttons will enter the "
    "default AVERAGE values for Triumph Bonneville, Bonneville America, T-100 or Speedmaster "
    "specifications.",
    "This value can be changed for averages you wish or for other makes or models of "
    "motorcycle valve shim calculations."};
const int kSpaceRuns[] = {46, 84, 79, 35};

TEST_F(InfoWindows, HelpTextIsExact) {
    auto* help = openHelp();
    ASSERT_NE(help, nullptr);
    const QString text = child<QLabel>(help, "lblHelp")->text();
    EXPECT_EQ(text.size(), 746);
    QString expected;
    for (int i = 0; i < kParagraphs.size(); ++i)
        expected += kParagraphs[i] + QString(i < 4 ? kSpaceRuns[i] : 0, ' ');
    EXPECT_EQ(text, expected);
    EXPECT_FALSE(text.contains('\n'));
}

TEST_F(InfoWindows, HelpParagraphsBeginLinesAndTheWholeTextIsVisible) {
    auto* help = openHelp();
    auto* label = child<runtime::ParagraphLabel>(help, "lblHelp");
    ASSERT_NE(label, nullptr);
    const QStringList lines = label->displayLines();
    for (const QString& paragraph : kParagraphs) {
        const QString firstWords = paragraph.section(' ', 0, 2);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
            return line.startsWith(firstWords);
        })) << firstWords.toStdString();
    }
    // Every word of the text is drawn, in order, within the label.
    EXPECT_EQ(lines.join(' ').simplified(), label->text().simplified());
    const QFontMetrics metrics(label->font());
    EXPECT_LE(lines.size() * metrics.lineSpacing(), label->height());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), label->width()) << line.toStdString();
}

TEST_F(InfoWindows, HelpWindowDesign) {
    auto* help = openHelp();
    auto* label = child<QLabel>(help, "lblHelp");
    EXPECT_EQ(help->windowTitle(), "How To Use Calculator");
    EXPECT_EQ(help->client()->size(), QSize(520, 117));
    EXPECT_EQ(label->geometry(), QRect(0, 0, 521, 113));
    EXPECT_EQ(label->font().pixelSize(), 11);
    EXPECT_EQ(label->palette().color(QPalette::Window),
              runtime::systemColor(runtime::SystemColor::ButtonFace));
    EXPECT_EQ(help->palette().color(QPalette::Window),
              runtime::systemColor(runtime::SystemColor::InactiveCaptionText));
    EXPECT_TRUE(label->autoFillBackground());
    // Nothing takes the focus, and the text cannot be selected or edited.
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(help->focusWidget(), nullptr);
    EXPECT_FALSE(label->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_FALSE(label->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    EXPECT_FALSE(help->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(help->windowFlags() & Qt::WindowMinimizeButtonHint);
    // A larger window neither moves nor re-wraps the text.
    const QStringList before = child<runtime::ParagraphLabel>(help, "lblHelp")->displayLines();
    help->resize(900, 400);
    EXPECT_EQ(label->geometry(), QRect(0, 0, 521, 113));
    EXPECT_EQ(child<runtime::ParagraphLabel>(help, "lblHelp")->displayLines(), before);
}

TEST_F(InfoWindows, MenuOpensOneHelpAndOneAboutWindow) {
    auto* help = openHelp();
    auto* about = openAbout();
    ASSERT_NE(help, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(openHelp(), help);
    EXPECT_EQ(openAbout(), about);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(forms().timesLoaded("frmHelpCalculator"), 1);
    EXPECT_EQ(forms().timesLoaded("frmAbout"), 1);
    help->close();
    about->close();
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(openHelp()->windowTitle(), "How To Use Calculator");
    EXPECT_EQ(forms().timesLoaded("frmHelpCalculator"), 2);
}

TEST_F(InfoWindows, AboutCaptionsComeFromTheApplication) {
    auto* about = openAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Clearmark");
    EXPECT_EQ(text(about, "lblTitle"), "Clearmark");
    EXPECT_EQ(text(about, "lblVersion"), "Version 1.0.0");
    EXPECT_EQ(frmAbout::versionCaption({2, 3, 14}), "Version 2.3.14");
    EXPECT_EQ(frmAbout::versionCaption({1, 10, 0}), "Version 1.10.0");
    EXPECT_EQ(about->focusWidget(), widget(about, "cmdOK"));
}

TEST_F(InfoWindows, EscEnterAndOkUnloadTheAboutWindow) {
    struct Press {
        const char* name;
        std::function<void(frmAbout*)> press;
    };
    const Press presses[] = {
        {"Esc",
         [](frmAbout* a) {
             QTest::keyClick(a->focusWidget(), Qt::Key_Escape);
         }},
        {"Enter",
         [](frmAbout* a) {
             QTest::keyClick(a->focusWidget(), Qt::Key_Return);
         }},
        {"EnterOnTheWindow",
         [](frmAbout* a) {
             QTest::keyClick(a, Qt::Key_Enter);
         }},
        {"EscWithFocusOnSysInfo",
         [](frmAbout* a) {
             a->findChild<QWidget*>("cmdSysInfo")->setFocus();
             QTest::keyClick(a->findChild<QWidget*>("cmdSysInfo"), Qt::Key_Escape);
         }},
        {"OK",
         [](frmAbout* a) {
             QTest::mouseClick(a->findChild<QWidget*>("cmdOK"), Qt::LeftButton);
         }},
        {"TitleBarClose",
         [](frmAbout* a) {
             a->close();
         }},
    };
    int loads = 0;
    for (const Press& press : presses) {
        SCOPED_TRACE(press.name);
        auto* about = openAbout();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(forms().timesLoaded("frmAbout"), ++loads);
        EXPECT_EQ(text(about, "lblVersion"), "Version 1.0.0");
        press.press(about);
        EXPECT_EQ(forms().find<frmAbout>(), nullptr);
        flushDeletes();
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(InfoWindows, SystemInfoWithoutTheToolShowsTheBoxAndKeepsTheWindow) {
    auto* about = openAbout();
    bool aboutOpenDuringBox = false;
    boxes.whileShown([&](const MsgBoxRequest&) { aboutOpenDuringBox = about->isVisible(); });
    click(about, "cmdSysInfo");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], expected::kUnavailable);
    EXPECT_TRUE(aboutOpenDuringBox);
    EXPECT_EQ(forms().find<frmAbout>(), about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "About Clearmark");
}

TEST_F(InfoWindows, AboutDesign) {
    auto* about = openAbout();
    EXPECT_EQ(about->client()->size(), QSize(382, 304));
    EXPECT_EQ(about->geometry().topLeft(), QPoint(156, 129)); // 2340, 1935 twips
    EXPECT_EQ(about->minimumSize(), about->maximumSize());    // fixed frame
    const Qt::WindowFlags flags = about->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    struct Row {
        const char* name;
        int left, top, width, height;
        bool bold;
        QColor text;
    };
    const QColor systemText = QApplication::palette().color(QPalette::WindowText);
    const Row rows[] = {
        {"picIcon", 240, 240, 540, 540, false, systemText},
        {"cmdOK", 4245, 2625, 1260, 345, false, systemText},
        {"cmdSysInfo", 4260, 3075, 1245, 345, false, systemText},
        {"lblDescription", 1050, 1125, 3885, 1170, false, Qt::black},
        {"lblTitle", 1050, 240, 3885, 480, false, Qt::black},
        {"lblVersion", 1050, 780, 3885, 225, true, systemText},
        {"lblDisclaimer", 255, 2625, 3870, 1185, true, QColor(255, 0, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* w = widget(about, row.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), QRect(qRound(row.left / 15.0), qRound(row.top / 15.0),
                                       qRound(row.width / 15.0), qRound(row.height / 15.0)));
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(w->font().pixelSize(), 11);
        EXPECT_EQ(w->palette().color(QPalette::WindowText), row.text);
        if (auto* label = qobject_cast<QLabel*>(w); label && row.name != std::string("picIcon")) {
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            EXPECT_TRUE(captionFits(label));
        }
    }
    EXPECT_TRUE(text(about, "lblDescription").contains("enter you own desired end gap This"));
    EXPECT_TRUE(text(about, "lblDisclaimer").startsWith("Warning: Use at your own risk!"));
    EXPECT_TRUE(text(about, "lblDisclaimer").endsWith("You have been warned!"));

    auto* ok = child<QPushButton>(about, "cmdOK");
    auto* sysInfo = child<QPushButton>(about, "cmdSysInfo");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(sysInfo->text(), "&System Info...");
    EXPECT_EQ(sysInfo->shortcut(), QKeySequence::mnemonic("&System Info..."));
    for (auto* button : {ok, sysInfo}) {
        const QRect area = static_cast<runtime::CommandButton*>(button)->captionRect();
        EXPECT_TRUE(area.contains(
            QFontMetrics(button->font())
                .boundingRect(area, runtime::CommandButton::kCaptionFlags, button->text())));
    }
    QStringList order;
    for (QWidget* w : about->tabOrder())
        order << w->objectName();
    EXPECT_EQ(order, QStringList({"cmdOK", "picIcon", "cmdSysInfo"}));
}

TEST_F(InfoWindows, AboutSeparatorIsEtched) {
    auto* about = openAbout();
    QList<runtime::Line*> lines = about->client()->findChildren<runtime::Line*>("Line1");
    ASSERT_EQ(lines.size(), 2);
    std::sort(lines.begin(), lines.end(), [](auto* a, auto* b) { return a->index() < b->index(); });
    EXPECT_EQ(lines[0]->line(), QLine(7, 164, 377, 164)); // (105, 2460) to (5654, 2460)
    EXPECT_EQ(lines[0]->color(), QColor(Qt::white));
    EXPECT_EQ(lines[0]->lineWidth(), 2);
    EXPECT_EQ(lines[1]->line(), QLine(6, 163, 377, 163)); // (90, 2445) to (5654, 2445)
    EXPECT_EQ(lines[1]->color(), QColor(128, 128, 128));
    EXPECT_EQ(lines[1]->lineWidth(), 1);

    // Drawn: grey on row 163, white on rows 164 and 165.
    const QImage image = about->client()->grab().toImage();
    EXPECT_EQ(image.pixelColor(200, 163), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(200, 164), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(200, 165), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(6, 164), image.pixelColor(3, 164)); // the white starts later
    EXPECT_NE(image.pixelColor(200, 166), QColor(Qt::white));
}

TEST_F(InfoWindows, EveryWindowShowsTheApplicationIconAndAboutItsOwnPicture) {
    click(main, "cmdConverter");
    QList<QWidget*> windows = {main, forms().find<frmConvert>(), openHelp(), openAbout()};
    const QImage appIcon = runtime::applicationIcon().pixmap(32, 32).toImage();
    for (QWidget* window : windows) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage(), appIcon)
            << window->objectName().toStdString();
        EXPECT_EQ(window->windowIcon().pixmap(16, 16).size(), QSize(16, 16));
    }
    const auto* picture = child<QLabel>(windows[3], "picIcon");
    const QImage about = picture->pixmap().toImage();
    EXPECT_EQ(about.size(), QSize(32, 32));
    EXPECT_NE(about, appIcon);
    EXPECT_EQ(picture->frameShadow(), QFrame::Sunken);
    // Sixteen colours at most in each image.
    for (const QImage& image : {appIcon, about}) {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_LE(colours.size(), 16);
    }
}

} // namespace
} // namespace clearmark
