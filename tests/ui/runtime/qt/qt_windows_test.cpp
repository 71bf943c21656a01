// The program's windows as the Qt implementation draws them: the widgets behind each design,
// their geometry, fonts, colours, flags and pixels.
#include "convert/frmConvert.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "main/frmClearmark.h"
#include "main/pictures.h"
#include "runtime/msgbox.h"
#include "runtime/pictures.h"
#include "runtime/qt/access.h"
#include "runtime/qt/fonts.h"
#include "runtime/qt/icons.h"
#include "runtime/qt/syscolors.h"
#include "runtime/qt/widgets.h"
#include "support/expected_boxes.h"
#include "support/gui_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace clearmark {
namespace {

using runtime::ControlKind;
using runtime::forms;
using runtime::qt::clientOf;
using runtime::qt::objectOf;
using runtime::qt::widgetOf;
using testing_support::driver;
namespace qt = runtime::qt;

// A rectangle of the designs in pixels: 15 twips to the pixel, rounded.
QRect fromTwips(int left, int top, int width, int height) {
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

// The Qt object of the window's control or menu entry of that name.
QObject* qtObject(const runtime::Form& form, std::string_view name) {
    for (const runtime::Control& control : form.controls())
        if (control.name() == name)
            return objectOf(control);
    ADD_FAILURE() << form.design().name << " has no control " << name;
    return nullptr;
}
template <class T> T* qtWidget(const runtime::Form& form, std::string_view name) {
    T* widget = qobject_cast<T*>(qtObject(form, name));
    EXPECT_NE(widget, nullptr) << name << " is not a " << T::staticMetaObject.className();
    return widget;
}

// Whether the widget is the one the implementation makes for a control of that kind.
bool drawnAs(const QObject* object, ControlKind kind) {
    switch (kind) {
    case ControlKind::CommandButton:
        return qobject_cast<const qt::CommandButton*>(object) != nullptr;
    case ControlKind::TextBox:
        return qobject_cast<const QLineEdit*>(object) != nullptr;
    case ControlKind::Label:
        return qobject_cast<const qt::Label*>(object) != nullptr;
    case ControlKind::OptionButton:
        return qobject_cast<const QRadioButton*>(object) != nullptr;
    case ControlKind::CheckBox:
        return qobject_cast<const QCheckBox*>(object) != nullptr;
    case ControlKind::Picture:
        return qobject_cast<const QLabel*>(object) != nullptr &&
               qobject_cast<const qt::Label*>(object) == nullptr;
    case ControlKind::MenuItem:
        return qobject_cast<const QAction*>(object) != nullptr;
    }
    return false;
}

QString qtText(const QObject* object) {
    if (const auto* box = qobject_cast<const QLineEdit*>(object))
        return box->text();
    if (const auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    ADD_FAILURE() << "no text on " << object->objectName().toStdString();
    return {};
}

// The family that draws a design font: MS Sans Serif's bitmaps draw the regular text of an
// unscaled screen, the fallback family everything else.
QString expectedFamily(int pixels, bool bold) {
    const bool bitmaps = pixels == 11 && !bold && qApp->devicePixelRatio() == 1;
    return bitmaps || qt::fallbackFontFamily().isEmpty()
               ? QString::fromLatin1(qt::kDesignFontFamily)
               : qt::fallbackFontFamily();
}

// The colour of a logical pixel of a grabbed picture, at any scale.
QColor pixelAt(const QImage& image, int x, int y) {
    const qreal scale = image.devicePixelRatio();
    return image.pixelColor(int((x + 0.5) * scale), int((y + 0.5) * scale));
}

int windowedChildren(const QWidget* client) {
    int count = 0;
    for (const QObject* object : client->children())
        count += object->isWidgetType() ? 1 : 0;
    return count;
}

using QtMainWindow = testing_support::WithMainWindow;

TEST_F(QtMainWindow, InitialStateOfTheWidgets) {
    QWidget* window = widgetOf(*main);
    QWidget* client = clientOf(*main);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmClearmark"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dorvan's Clearmark"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(client->size(), QSize(496, 214)); // 7440 x 3210 twips below the menu
    auto* menuBar = window->findChild<QMenuBar*>(QStringLiteral("menuBar"));
    ASSERT_NE(menuBar, nullptr);
    EXPECT_TRUE(menuBar->isVisible());
    EXPECT_EQ(menuBar->geometry().topLeft(), QPoint(0, 0));
    EXPECT_GT(menuBar->height(), 0);
    EXPECT_EQ(client->mapTo(window, QPoint(0, 0)), QPoint(0, menuBar->height()));
    EXPECT_EQ(window->height(), menuBar->height() + client->height());

    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(window->minimumSize(), window->maximumSize()); // sizable

    // Enter presses the focused button itself: no button is the window's default.
    const QList<QPushButton*> buttons = client->findChildren<QPushButton*>();
    EXPECT_EQ(buttons.size(), 6);
    for (const QPushButton* button : buttons) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

// A Qt text box can hold a NUL character (a Windows one cannot): such a text is no number.
TEST_F(QtMainWindow, AnEmbeddedNulIsBadData) {
    const std::string gap("0.2\0"
                          "0",
                          5);
    textBox(*main, "txtGap").setText(gap);
    textBox(*main, "txtOldShim").setText("2.45");
    textBox(*main, "txtSpec").setText("0.175");
    click(*main, "cmdCalculate");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0], expected::kBadData);
    EXPECT_EQ(textBox(*main, "txtGap").text(), gap);
    EXPECT_FALSE(textBox(*main, "txtNewShim").visible());
}

TEST_F(QtMainWindow, MenuBarHoldsToolsThenHelpWithAboutAndHelp) {
    QWidget* window = widgetOf(*main);
    auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuHelp"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("Help"));
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->objectName(), QStringLiteral("mnuAbout"));
    EXPECT_EQ(entries[0]->text(), QStringLiteral("About"));
    EXPECT_EQ(entries[1]->objectName(), QStringLiteral("mnuHelp2"));
    EXPECT_EQ(entries[1]->text(), QStringLiteral("Help"));
    // The runtime's menu entries are these actions.
    EXPECT_EQ(objectOf(main->control<runtime::MenuItem>("mnuAbout")), entries[0]);
    EXPECT_EQ(objectOf(main->control<runtime::MenuItem>("mnuHelp2")), entries[1]);
    auto* menuBar = window->findChild<QMenuBar*>(QStringLiteral("menuBar"));
    ASSERT_NE(menuBar, nullptr);
    EXPECT_FALSE(menuBar->isNativeMenuBar());
    const QList<QAction*> bar = menuBar->actions();
    ASSERT_EQ(bar.size(), 2);
    EXPECT_EQ(bar[0]->menu()->objectName(), QStringLiteral("mnuTools"));
    EXPECT_EQ(bar[0]->menu()->actions().value(0),
              objectOf(main->control<runtime::MenuItem>("mnuValveSheet")));
    EXPECT_EQ(bar[1]->menu(), menu);
}

// The design, written down here on its own.
struct DesignRow {
    const char* name;
    ControlKind kind;
    int left, top, width, height; // twips
    int fontPixels;
    bool bold;
    bool visible;
};

TEST_F(QtMainWindow, EveryControlMatchesTheDesign) {
    using enum ControlKind;
    const DesignRow rows[] = {
        {"cmdExhaust", CommandButton, 4440, 600, 375, 255, 11, false, true},
        {"cmdIntake", CommandButton, 4440, 360, 375, 255, 11, false, true},
        {"cmdConverter", CommandButton, 5160, 2040, 1575, 615, 13, true, true},
        {"txtNewShim", TextBox, 2520, 1560, 1695, 495, 24, true, false},
        {"txtOldShim", TextBox, 240, 1560, 1695, 525, 24, true, true},
        {"txtSpec", TextBox, 2520, 360, 1695, 495, 24, true, true},
        {"txtGap", TextBox, 240, 360, 1695, 495, 24, true, true},
        {"cmdReset", CommandButton, 1560, 2520, 855, 375, 11, false, true},
        {"cmdCalculate", CommandButton, 2640, 2520, 855, 375, 11, false, true},
        {"cmdExit", CommandButton, 480, 2520, 855, 375, 11, false, true},
        {"lblConvert", Label, 4800, 1080, 2295, 1095, 16, true, true},
        {"lblExhaust", Label, 4920, 600, 1815, 255, 11, false, true},
        {"lblIntake", Label, 4920, 360, 1815, 255, 11, false, true},
        {"lblNewShim", Label, 2520, 1320, 1695, 255, 11, false, false},
        {"lblOldShim", Label, 360, 1320, 1695, 255, 11, false, true},
        {"lblSpec", Label, 2520, 120, 2055, 255, 11, false, true},
        {"lblGap", Label, 240, 120, 1935, 255, 11, false, true},
    };
    QWidget* client = clientOf(*main);
    EXPECT_EQ(windowedChildren(client), int(std::size(rows)));

    for (const DesignRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto* w =
            client->findChild<QWidget*>(QString::fromLatin1(row.name), Qt::FindDirectChildrenOnly);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(qtObject(*main, row.name), w);
        EXPECT_TRUE(drawnAs(w, row.kind));
        EXPECT_EQ(w->geometry(), fromTwips(row.left, row.top, row.width, row.height));
        EXPECT_EQ(w->font().family(), expectedFamily(row.fontPixels, row.bold));
        EXPECT_EQ(w->font().pixelSize(), row.fontPixels);
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(!w->isHidden(), row.visible);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_TRUE(label->wordWrap());
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_TRUE(label->autoFillBackground());
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
            EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
            const Qt::Alignment horizontal = label->alignment() & Qt::AlignHorizontal_Mask;
            EXPECT_EQ(horizontal,
                      row.name == std::string("lblConvert") ? Qt::AlignHCenter : Qt::AlignLeft);
        }
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            EXPECT_NE(qobject_cast<qt::TextBox*>(box), nullptr) << "not the sunken text box";
            EXPECT_GE(box->maxLength(), 1'000'000);
            EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        }
    }

    // Windowed controls stand above the labels: "Converter" is not hidden under the hint
    // above it, and the old shim's box covers the last pixel of its label.
    auto* converter = qtWidget<QWidget>(*main, "cmdConverter");
    auto* oldShim = qtWidget<QWidget>(*main, "txtOldShim");
    ASSERT_NE(converter, nullptr);
    ASSERT_NE(oldShim, nullptr);
    EXPECT_EQ(client->childAt(converter->geometry().topLeft() + QPoint(10, 2)), converter);
    EXPECT_EQ(client->childAt(oldShim->geometry().topLeft() + QPoint(50, 0)), oldShim);
}

// A text box has the sunken border of the design, two pixels all round, at any scale; the
// style draws no frame of its own.
TEST_F(QtMainWindow, TextBoxesHaveTheSunkenBorder) {
    auto* box = qtWidget<QLineEdit>(*main, "txtGap");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->hasFrame());
    box->setText("0.20");
    const QImage image = box->grab().toImage();
    const QPalette& palette = box->palette();
    const int w = box->width();
    const int h = box->height();
    struct Edge {
        const char* where;
        int x, y;
        QPalette::ColorRole role;
    };
    const Edge edges[] = {
        {"left, outer", 0, h / 2, QPalette::Dark},
        {"left, inner", 1, h / 2, QPalette::Shadow},
        {"top, outer", w / 2, 0, QPalette::Dark},
        {"top, inner", w / 2, 1, QPalette::Shadow},
        {"right, outer", w - 1, h / 2, QPalette::Light},
        {"right, inner", w - 2, h / 2, QPalette::Midlight},
        {"bottom, outer", w / 2, h - 1, QPalette::Light},
        {"bottom, inner", w / 2, h - 2, QPalette::Midlight},
        {"within", w - 5, 4, QPalette::Base},
    };
    for (const Edge& edge : edges) {
        SCOPED_TRACE(edge.where);
        EXPECT_EQ(pixelAt(image, edge.x, edge.y).rgb(), palette.color(edge.role).rgb());
    }
    // The outer dark grey and the white differ from the face: the border is seen.
    EXPECT_NE(palette.color(QPalette::Dark), palette.color(QPalette::Button));
    EXPECT_NE(palette.color(QPalette::Light), palette.color(QPalette::Button));
}

// Run again with QT_SCALE_FACTOR=2: the window is drawn with twice the pixels and keeps
// the proportions of its design.
TEST_F(QtMainWindow, ScaleKeepsTheDesignProportions) {
    const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0;
    QWidget* client = clientOf(*main);
    EXPECT_EQ(widgetOf(*main)->devicePixelRatioF(), scale);
    const QImage image = client->grab().toImage();
    EXPECT_EQ(image.size(), QSize(qRound(496 * scale), qRound(214 * scale)));
    // "Converter" at its design place, in the scaled picture too.
    auto* converter = qtWidget<QWidget>(*main, "cmdConverter");
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(converter->geometry(), QRect(344, 136, 105, 41));
    EXPECT_EQ(converter->grab().size(), converter->size() * scale);
}

class QtConverter : public testing_support::WithMainWindow {
protected:
    void SetUp() override {
        WithMainWindow::SetUp();
        click(*main, "cmdConverter");
        conv = forms().find<frmConvert>();
        ASSERT_NE(conv, nullptr);
    }
    frmConvert* conv = nullptr;
};

TEST_F(QtConverter, OpensAtItsPlaceAsAnUnownedWindow) {
    QWidget* window = widgetOf(*conv);
    QWidget* client = clientOf(*conv);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmConvert"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Conversion Form"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry().topLeft(), QPoint(122, 95)); // 1830, 1425 twips
    EXPECT_EQ(client->mapToGlobal(QPoint(0, 0)), QPoint(122, 95));
    EXPECT_EQ(client->size(), QSize(312, 206)); // 4680 x 3090 twips
    EXPECT_EQ(window->findChild<QMenuBar*>(), nullptr);
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(window->minimumSize(), window->maximumSize()); // sizable
    EXPECT_EQ(window->parentWidget(), nullptr);
}

TEST_F(QtConverter, EveryControlMatchesTheDesignAndTheOptionCaptionsFit) {
    using enum ControlKind;
    struct Row {
        const char* name;
        ControlKind kind;
        int left, top, width, height, fontPixels;
        bool bold;
        const char* caption;
    };
    const Row rows[] = {
        {"cmdConvert1", CommandButton, 360, 1440, 1695, 615, 16, true, "Convert"},
        {"cmdReset", CommandButton, 2880, 2160, 1335, 615, 16, true, "Reset"},
        {"cmdCopy", CommandButton, 360, 2280, 1695, 615, 11, true, "Copy to Clipboard  and exit"},
        {"optInchesToMm", OptionButton, 2760, 960, 1575, 255, 11, false, "Inches to MM"},
        {"optMmToInches", OptionButton, 2760, 480, 1815, 195, 11, false, "MM to Inches"},
        {"txtData", TextBox, 240, 480, 1935, 495, 24, true, ""},
        {"lblconvert", Label, 360, 120, 4095, 375, 11, false,
         "Enter the measurement below, then check which method"},
    };
    QWidget* client = clientOf(*conv);
    EXPECT_EQ(windowedChildren(client), int(std::size(rows)));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* w =
            client->findChild<QWidget*>(QString::fromLatin1(row.name), Qt::FindDirectChildrenOnly);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(qtObject(*conv, row.name), w);
        EXPECT_TRUE(drawnAs(w, row.kind));
        EXPECT_EQ(w->geometry(), fromTwips(row.left, row.top, row.width, row.height));
        EXPECT_EQ(w->font().family(), expectedFamily(row.fontPixels, row.bold));
        EXPECT_EQ(w->font().pixelSize(), row.fontPixels);
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(qtText(w), QString::fromLatin1(row.caption));
    }
    // The option buttons' captions fit beside their indicator on one line (the labels' and
    // buttons' are measured on every implementation).
    const QList<QRadioButton*> radios = client->findChildren<QRadioButton*>();
    EXPECT_EQ(radios.size(), 2);
    for (QRadioButton* radio : radios) {
        SCOPED_TRACE(radio->objectName().toStdString());
        QStyleOptionButton option;
        option.initFrom(radio);
        const QRect contents =
            radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
        const QFontMetrics metrics(radio->font());
        EXPECT_LE(metrics.horizontalAdvance(radio->text()), contents.width());
        EXPECT_LE(metrics.height(), radio->height());
    }
}

class QtInfoWindows : public testing_support::WithMainWindow {
protected:
    frmHelpCalculator* openHelp() {
        choose(*main, "mnuHelp2");
        return forms().find<frmHelpCalculator>();
    }
    frmAbout* openAbout() {
        choose(*main, "mnuAbout");
        return forms().find<frmAbout>();
    }
};

TEST_F(QtInfoWindows, HelpWindowDesign) {
    frmHelpCalculator* help = openHelp();
    ASSERT_NE(help, nullptr);
    QWidget* window = widgetOf(*help);
    QWidget* client = clientOf(*help);
    auto* label = qtWidget<qt::Label>(*help, "lblHelp");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmHelpCalculator"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("How To Use Calculator"));
    EXPECT_EQ(client->size(), QSize(520, 117));
    EXPECT_EQ(windowedChildren(client), 1);
    EXPECT_EQ(label->geometry(), QRect(0, 0, 521, 113));
    EXPECT_EQ(label->font().family(), expectedFamily(11, false));
    EXPECT_EQ(label->font().pixelSize(), 11);
    EXPECT_FALSE(label->font().bold());
    const QColor buttonFace = qt::systemColor(runtime::SystemColor::ButtonFace);
    const QColor windowColour = qt::systemColor(runtime::SystemColor::InactiveCaptionText);
    ASSERT_NE(buttonFace, windowColour) << "the palette cannot tell the two apart";
    EXPECT_EQ(label->palette().color(QPalette::Window), buttonFace);
    EXPECT_EQ(window->palette().color(QPalette::Window), windowColour);
    EXPECT_TRUE(label->autoFillBackground());
    // Drawn: the label's colour behind the text, a strip of the window's along the bottom.
    const QImage image = client->grab().toImage();
    EXPECT_EQ(pixelAt(image, 515, 110), buttonFace);
    EXPECT_EQ(pixelAt(image, 10, 114), windowColour);
    EXPECT_EQ(pixelAt(image, 515, 116), windowColour);
    // Nothing takes the focus, and the text cannot be selected or edited.
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(window->focusWidget(), nullptr);
    EXPECT_FALSE(label->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_FALSE(label->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    EXPECT_FALSE(label->textInteractionFlags() & Qt::TextEditable);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    // A larger window neither moves nor re-wraps the text.
    const QStringList before = label->displayLines();
    window->resize(900, 400);
    EXPECT_EQ(label->geometry(), QRect(0, 0, 521, 113));
    EXPECT_EQ(label->displayLines(), before);
}

TEST_F(QtInfoWindows, AboutDesign) {
    frmAbout* about = openAbout();
    ASSERT_NE(about, nullptr);
    QWidget* window = widgetOf(*about);
    QWidget* client = clientOf(*about);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("About Clearmark"));
    EXPECT_EQ(client->size(), QSize(382, 304));
    EXPECT_EQ(window->geometry().topLeft(), QPoint(156, 129)); // 2340, 1935 twips
    EXPECT_EQ(client->mapToGlobal(QPoint(0, 0)), QPoint(156, 129));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // fixed frame
    EXPECT_EQ(window->size(), QSize(382, 304));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    // Kept out of the task bar, as X11 and Wayland keep utility windows.
    EXPECT_EQ(window->windowType(), Qt::Tool);

    using enum ControlKind;
    struct Row {
        const char* name;
        ControlKind kind;
        int left, top, width, height;
        bool bold;
        QColor text;
    };
    const QColor systemText = QApplication::palette().color(QPalette::WindowText);
    const Row rows[] = {
        {"picIcon", Picture, 240, 240, 540, 540, false, systemText},
        {"cmdOK", CommandButton, 4245, 2625, 1260, 345, false, systemText},
        {"cmdSysInfo", CommandButton, 4260, 3075, 1245, 345, false, systemText},
        {"lblDescription", Label, 1050, 1125, 3885, 1170, false, Qt::black},
        {"lblTitle", Label, 1050, 240, 3885, 480, false, Qt::black},
        {"lblVersion", Label, 1050, 780, 3885, 225, true, systemText},
        {"lblDisclaimer", Label, 255, 2625, 3870, 1185, true, QColor(255, 0, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* w =
            client->findChild<QWidget*>(QString::fromLatin1(row.name), Qt::FindDirectChildrenOnly);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(qtObject(*about, row.name), w);
        EXPECT_TRUE(drawnAs(w, row.kind));
        EXPECT_EQ(w->geometry(), fromTwips(row.left, row.top, row.width, row.height));
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(w->font().pixelSize(), 11);
        EXPECT_EQ(w->font().family(), expectedFamily(11, row.bold));
        EXPECT_EQ(w->palette().color(QPalette::WindowText), row.text);
        if (auto* label = qobject_cast<qt::Label*>(w)) {
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        }
    }
    EXPECT_TRUE(qtText(qtObject(*about, "lblDescription"))
                    .contains(QStringLiteral("enter you own desired end gap This")));
    EXPECT_TRUE(qtText(qtObject(*about, "lblDisclaimer"))
                    .startsWith(QStringLiteral("Warning: Use at your own risk!")));
    EXPECT_TRUE(qtText(qtObject(*about, "lblDisclaimer"))
                    .endsWith(QStringLiteral("You have been warned!")));

    // OK is the window's default button; the access key of "System Info..." is S.
    auto* ok = qtWidget<qt::CommandButton>(*about, "cmdOK");
    auto* sysInfo = qtWidget<qt::CommandButton>(*about, "cmdSysInfo");
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(sysInfo, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(sysInfo->isDefault());
    EXPECT_FALSE(sysInfo->autoDefault());
    EXPECT_EQ(sysInfo->text(), QStringLiteral("&System Info..."));
    EXPECT_EQ(sysInfo->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
}

TEST_F(QtInfoWindows, AboutSeparatorIsEtched) {
    frmAbout* about = openAbout();
    ASSERT_NE(about, nullptr);
    QWidget* client = clientOf(*about);
    QList<qt::Line*> lines = client->findChildren<qt::Line*>(QStringLiteral("Line1"));
    ASSERT_EQ(lines.size(), 2);
    std::sort(lines.begin(), lines.end(), [](auto* a, auto* b) { return a->index() < b->index(); });
    EXPECT_EQ(lines[0]->index(), 0);
    EXPECT_EQ(lines[0]->line(), QLine(7, 164, 377, 164)); // (105, 2460) to (5654, 2460)
    EXPECT_EQ(lines[0]->color(), QColor(Qt::white));
    EXPECT_EQ(lines[0]->lineWidth(), 2);
    EXPECT_EQ(lines[1]->index(), 1);
    EXPECT_EQ(lines[1]->line(), QLine(6, 163, 377, 163)); // (90, 2445) to (5654, 2445)
    EXPECT_EQ(lines[1]->color(), QColor(128, 128, 128));
    EXPECT_EQ(lines[1]->lineWidth(), 1);

    // Drawn: grey on row 163, white on rows 164 and 165.
    const QImage image = client->grab().toImage();
    const QColor grey(128, 128, 128);
    EXPECT_EQ(pixelAt(image, 200, 163), grey);
    EXPECT_EQ(pixelAt(image, 200, 164), QColor(Qt::white));
    EXPECT_EQ(pixelAt(image, 200, 165), QColor(Qt::white));
    EXPECT_NE(pixelAt(image, 200, 166), QColor(Qt::white));
    EXPECT_NE(pixelAt(image, 200, 162), grey);
    // The white begins one pixel after the grey (105 and 90 twips), and both end together.
    const auto columns = [&](int row, const QColor& colour) {
        std::pair<int, int> span{-1, -1};
        for (int x = 0; x < client->width(); ++x)
            if (pixelAt(image, x, row) == colour) {
                span.first = span.first < 0 ? x : span.first;
                span.second = x;
            }
        return span;
    };
    const auto [greyFirst, greyLast] = columns(163, grey);
    const auto [whiteFirst, whiteLast] = columns(164, QColor(Qt::white));
    EXPECT_EQ(greyFirst, 6);
    EXPECT_EQ(whiteFirst, 7);
    EXPECT_EQ(columns(165, QColor(Qt::white)), std::pair(whiteFirst, whiteLast));
    EXPECT_EQ(whiteLast, greyLast);
    EXPECT_GE(greyLast - greyFirst, 369);
    EXPECT_NE(pixelAt(image, greyFirst, 164), QColor(Qt::white));
}

TEST_F(QtInfoWindows, EveryWindowShowsTheApplicationIconAndAboutItsOwnPicture) {
    click(*main, "cmdConverter");
    const std::vector<const runtime::Form*> windows = {main, forms().find<frmConvert>(), openHelp(),
                                                       openAbout()};
    const QImage appIcon = qt::pictureIcon(runtime::kWindowIcon).pixmap(32, 32).toImage();
    ASSERT_FALSE(appIcon.isNull());
    for (const runtime::Form* form : windows) {
        ASSERT_NE(form, nullptr);
        const QWidget* window = widgetOf(*form);
        SCOPED_TRACE(window->objectName().toStdString());
        EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage(), appIcon);
        EXPECT_EQ(window->windowIcon().pixmap(16, 16).deviceIndependentSize().toSize(),
                  QSize(16, 16));
    }
    const auto* picture = qtWidget<QLabel>(*windows[3], "picIcon");
    ASSERT_NE(picture, nullptr);
    const QImage about = picture->pixmap().toImage();
    EXPECT_EQ(picture->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
    EXPECT_EQ(about, qt::pictureIcon(kAboutPicture).pixmap(32, 32).toImage());
    EXPECT_NE(about, appIcon);
    EXPECT_EQ(picture->frameShape(), QFrame::Panel);
    EXPECT_EQ(picture->frameShadow(), QFrame::Sunken);
    // Sixteen colours at most in each image.
    for (const QImage& image : {appIcon, about}) {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_LE(colours.size(), 16);
        EXPECT_GT(colours.size(), 1);
    }
}

class QtWindows : public testing_support::WithMainWindow {
protected:
    // Every window of the program, shown.
    std::vector<const runtime::Form*> openAll() {
        click(*main, "cmdConverter");
        choose(*main, "mnuHelp2");
        choose(*main, "mnuAbout");
        return {main, forms().find<frmConvert>(), forms().find<frmHelpCalculator>(),
                forms().find<frmAbout>()};
    }
    static int topLevelsNamed(const char* name) {
        int count = 0;
        for (const QWidget* w : QApplication::topLevelWidgets())
            count += w->objectName() == QLatin1String(name) ? 1 : 0;
        return count;
    }
};

TEST_F(QtWindows, EachWindowIsOneUnownedNonModalTopLevelWidget) {
    openAll();
    const std::vector<const runtime::Form*> windows = openAll(); // the second time changes nothing
    for (const runtime::Form* form : windows) {
        ASSERT_NE(form, nullptr);
        const char* name = form->design().name;
        SCOPED_TRACE(name);
        QWidget* window = widgetOf(*form);
        EXPECT_EQ(window->objectName(), QLatin1String(name));
        EXPECT_TRUE(window->isWindow());
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->parentWidget(), nullptr);
        EXPECT_FALSE(window->isModal());
        EXPECT_EQ(window->windowModality(), Qt::NonModal);
        EXPECT_EQ(topLevelsNamed(name), 1);
        // The controls live in the client area, which is a child of the window.
        EXPECT_EQ(clientOf(*form)->window(), window);
        EXPECT_NE(clientOf(*form), window);
    }
    // A window closed and opened again is a new widget, and the old one is gone.
    struct Reopen {
        const char* name;
        std::function<runtime::Form*()> find;
        std::function<void()> open;
    };
    const Reopen reopens[] = {
        {"frmConvert", [] { return forms().find<frmConvert>(); },
         [this] {
             click(*main, "cmdConverter");
         }},
        {"frmHelpCalculator", [] { return forms().find<frmHelpCalculator>(); },
         [this] {
             choose(*main, "mnuHelp2");
         }},
        {"frmAbout", [] { return forms().find<frmAbout>(); },
         [this] {
             choose(*main, "mnuAbout");
         }},
    };
    for (const Reopen& window : reopens) {
        SCOPED_TRACE(window.name);
        runtime::Form* form = window.find();
        ASSERT_NE(form, nullptr);
        QPointer<QWidget> old = widgetOf(*form);
        driver().close(*form);
        driver().settle();
        EXPECT_TRUE(old.isNull());
        EXPECT_EQ(topLevelsNamed(window.name), 0);
        window.open();
        driver().settle();
        ASSERT_NE(window.find(), nullptr);
        EXPECT_TRUE(widgetOf(*window.find())->isVisible());
        EXPECT_EQ(topLevelsNamed(window.name), 1);
    }
}

TEST_F(QtWindows, AWindowThatUnloadsItselfIsDeletedOnceItsHandlerHasReturned) {
    struct Case {
        const char* name;
        std::function<runtime::Form*()> open;
        const char* button;
    };
    const Case cases[] = {
        {"frmConvert",
         [this]() -> runtime::Form* {
             click(*main, "cmdConverter");
             frmConvert* conv = forms().find<frmConvert>();
             if (conv != nullptr)
                 type(*conv, "txtData", "25.4");
             return conv;
         },
         "cmdCopy"},
        {"frmAbout",
         [this]() -> runtime::Form* {
             choose(*main, "mnuAbout");
             return forms().find<frmAbout>();
         },
         "cmdOK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        runtime::Form* form = c.open();
        ASSERT_NE(form, nullptr);
        const QPointer<QWidget> old = widgetOf(*form);
        ASSERT_TRUE(old->isVisible());
        click(*form, c.button);
        // Off the screen at once; the widgets go when the event loop has them back.
        EXPECT_TRUE(old.isNull() || !old->isVisible());
        driver().settle();
        EXPECT_TRUE(old.isNull());
        EXPECT_EQ(topLevelsNamed(c.name), 0);
    }
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(widgetOf(*main)->isVisible());
}

TEST_F(QtWindows, EndingTheProgramTakesEveryWindowOffTheScreen) {
    std::vector<std::pair<const char*, QPointer<QWidget>>> windows;
    for (const runtime::Form* form : openAll()) {
        ASSERT_NE(form, nullptr);
        windows.emplace_back(form->design().name, widgetOf(*form));
    }
    boxes.answerNext(runtime::MsgAnswer::OK);
    click(*main, "cmdExit");
    main = nullptr; // gone with the program
    ASSERT_EQ(programEnds, 1);
    for (const auto& [name, widget] : windows)
        EXPECT_TRUE(widget.isNull() || !widget->isVisible()) << name;
    driver().settle();
    for (const auto& [name, widget] : windows) {
        EXPECT_TRUE(widget.isNull()) << name;
        EXPECT_EQ(topLevelsNamed(name), 0) << name;
    }
    for (const QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

TEST_F(QtWindows, TheQtFocusChainFollowsTheTabOrder) {
    for (const runtime::Form* form : openAll()) {
        ASSERT_NE(form, nullptr);
        SCOPED_TRACE(form->design().name);
        QStringList expected;
        for (const runtime::Control& control : form->tabOrder())
            expected << QString::fromStdString(control.name());
        // Tab moves along the chain to the next widget that takes the focus by Tab.
        QStringList chain;
        QWidget* window = widgetOf(*form);
        QWidget* first = window->nextInFocusChain();
        for (QWidget* w = first; w != window; w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
            if (chain.size() > 50)
                break;
        }
        // The chain is a ring: start it where the tab order starts.
        if (!expected.isEmpty() && chain.contains(expected.first()))
            std::rotate(chain.begin(), chain.begin() + chain.indexOf(expected.first()),
                        chain.end());
        EXPECT_EQ(chain, expected);
    }
}

} // namespace
} // namespace clearmark
