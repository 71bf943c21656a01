#include "appinfo.h"
#include "fonts.h"
#include "forms.h"
#include "gui_support.h"
#include "msgbox.h"
#include "program.h"
#include "twips.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace clearmark::runtime {

// A small window for the runtime's load, show, hide and unload rules.
class frmProbe : public Form {
    Q_OBJECT
public:
    static constexpr const char* kFormName = "frmProbe";
    static inline int loads = 0;
    static inline int unloads = 0;

    frmProbe() : Form(kWindow) {
        static constexpr ControlDesign controls[] = {
            {"lblInfo", ControlKind::Label, "Info", 0, 0, 1500, 255, 0},
            {"txtSecond", ControlKind::TextBox, "", 120, 600, 1500, 375, 2},
            {"txtFirst", ControlKind::TextBox, "", 120, 240, 1500, 375, 1},
            {"optA", ControlKind::OptionButton, "A", 120, 1000, 900, 255, 3},
            {"optB", ControlKind::OptionButton, "B", 120, 1300, 900, 255, 4},
        };
        buildControls(controls);
    }

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }

private:
    static constexpr WindowDesign kWindow{.name = kFormName,
                                          .caption = "Probe",
                                          .clientWidth = 3000,
                                          .clientHeight = 2000,
                                          .fixedStart = true,
                                          .startLeft = 1830,
                                          .startTop = 1425};
};

namespace {

using testing_support::GuiTest;

TEST(Twips, FifteenToAPixelRoundedToTheNearest) {
    const std::pair<int, int> cases[] = {{0, 0},      {15, 1},     {7, 0},      {8, 1},
                                         {7440, 496}, {3210, 214}, {5654, 377}, {-15, -1},
                                         {-8, -1},    {1830, 122}, {1425, 95}};
    for (const auto& [twips, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
}

TEST(AppInfo, TitleAndVersionFromTheProject) {
    EXPECT_EQ(appTitle(), "Clearmark");
    const AppVersion version = appVersion();
    EXPECT_EQ(formatVersion(version), "1.0.0");
    EXPECT_EQ(formatVersion({2, 3, 14}), "2.3.14");
    EXPECT_EQ(formatVersion({10, 0, 0}), "10.0.0");
}

TEST(DesignFont, MsSansSerifWhereItCanDrawTheSizeElseARealBoldFallback) {
    registerDesignFont();
    // The regular window font is MS Sans Serif where its bitmaps fit the screen's scale.
    const QFont regular = designFont(8.25);
    const QString expected =
        qApp->devicePixelRatio() == 1 ? QString("MS Sans Serif") : fallbackFontFamily();
    EXPECT_EQ(regular.family(), expected);
    EXPECT_EQ(QFontInfo(regular).family(), expected);
    EXPECT_EQ(regular.pixelSize(), 11);
    EXPECT_FALSE(regular.bold());

    const std::tuple<double, int> sizes[] = {{8.25, 11}, {9.75, 13}, {12, 16}, {18, 24}};
    for (const auto& [points, pixels] : sizes) {
        const QFont font = designFont(points, true);
        EXPECT_EQ(font.pixelSize(), pixels) << points;
        EXPECT_TRUE(font.bold());
        // Whatever family draws it is installed and really has a bold face.
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), font.family());
        EXPECT_TRUE(QFontDatabase::isSmoothlyScalable(info.family()));
        EXPECT_TRUE(QFontDatabase::styles(info.family()).contains("Bold"));
    }
}

class FormsRules : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        frmProbe::loads = frmProbe::unloads = 0;
        forms().registerForm(frmProbe::kFormName, [] { return new frmProbe; });
    }
};

TEST_F(FormsRules, LoadCreatesOnceAndRunsFormLoadOnce) {
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    frmProbe* first = forms().load<frmProbe>();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(frmProbe::loads, 1);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(forms().load<frmProbe>(), first);
    EXPECT_EQ(forms().show<frmProbe>(), first);
    EXPECT_EQ(forms().show<frmProbe>(), first);
    EXPECT_EQ(frmProbe::loads, 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->parentWidget(), nullptr);
    EXPECT_FALSE(first->isModal());
}

TEST_F(FormsRules, ShowKeepsContentAndHideKeepsTheWindowLoaded) {
    frmProbe* form = forms().show<frmProbe>();
    form->findChild<QLineEdit*>("txtFirst")->setText("kept");
    forms().hide("frmProbe");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(forms().show<frmProbe>(), form);
    EXPECT_EQ(form->findChild<QLineEdit*>("txtFirst")->text(), "kept");
    EXPECT_EQ(frmProbe::loads, 1);
}

TEST_F(FormsRules, TitleBarCloseUnloadsAndTheNextUseLoadsAfresh) {
    QPointer<frmProbe> form = forms().show<frmProbe>();
    form->findChild<QLineEdit*>("txtFirst")->setText("lost");
    form->close();
    EXPECT_EQ(frmProbe::unloads, 1);
    EXPECT_EQ(forms().find<frmProbe>(), nullptr);
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    frmProbe* again = forms().show<frmProbe>();
    EXPECT_EQ(frmProbe::loads, 2);
    EXPECT_EQ(again->findChild<QLineEdit*>("txtFirst")->text(), "");
    EXPECT_EQ(programEnds, 0);
}

TEST_F(FormsRules, UnknownWindowsAreIgnored) {
    EXPECT_EQ(forms().load("frmNotYetBuilt"), nullptr);
    EXPECT_EQ(forms().show("frmNotYetBuilt"), nullptr);
    forms().unload("frmNotYetBuilt");
    EXPECT_FALSE(forms().isRegistered("frmNotYetBuilt"));
}

TEST_F(FormsRules, FixedStartPlacesTheClientArea) {
    frmProbe* form = forms().show<frmProbe>();
    EXPECT_EQ(form->geometry().topLeft(), QPoint(122, 95));
    EXPECT_EQ(form->client()->size(), QSize(200, 133));
}

TEST_F(FormsRules, FocusGoesToTheFirstControlInTabOrder) {
    frmProbe* form = forms().show<frmProbe>();
    EXPECT_EQ(form->focusWidget(), form->findChild<QLineEdit*>("txtFirst"));
    ASSERT_EQ(form->tabOrder().size(), 4u);
    EXPECT_EQ(form->tabOrder()[1]->objectName(), "txtSecond");
}

TEST_F(FormsRules, OptionButtonsExcludeEachOtherAndCanAllBeCleared) {
    frmProbe* form = forms().show<frmProbe>();
    auto* a = form->findChild<QRadioButton*>("optA");
    auto* b = form->findChild<QRadioButton*>("optB");
    setOptionValue(a, true);
    setOptionValue(b, true);
    EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(b->isChecked());
    setOptionValue(b, false);
    EXPECT_FALSE(a->isChecked());
    EXPECT_FALSE(b->isChecked());
    // The group still excludes after being cleared.
    setOptionValue(a, true);
    setOptionValue(b, true);
    EXPECT_FALSE(a->isChecked());
}

TEST_F(FormsRules, EndingTheProgramRemovesEveryWindowWithoutHandlers) {
    QPointer<frmProbe> form = forms().show<frmProbe>();
    endProgram();
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(programHasEnded());
    EXPECT_EQ(frmProbe::unloads, 0);
    EXPECT_EQ(forms().loadedCount(), 0);
    EXPECT_FALSE(form->isVisible());
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    endProgram(); // a second end changes nothing
    EXPECT_EQ(programEnds, 1);
}

TEST(MsgBoxSeam, CaptionDefaultsToTheApplicationTitle) {
    std::vector<MsgBoxRequest> seen;
    const MsgBoxPresenter previous = setMsgBoxPresenter([&](const MsgBoxRequest& request) {
        seen.push_back(request);
        return MsgAnswer::Cancel;
    });
    EXPECT_EQ(msgBox("one"), MsgAnswer::Cancel);
    msgBox("two", MsgButtons::OKCancel, MsgIcon::Information, QStringLiteral("Own"));
    setMsgBoxPresenter(previous);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (MsgBoxRequest{"one", "Clearmark", MsgButtons::OK, MsgIcon::None}));
    EXPECT_EQ(seen[1], (MsgBoxRequest{"two", "Own", MsgButtons::OKCancel, MsgIcon::Information}));
}

// The real box, closed by a timer as soon as it is up.
struct SeenBox {
    QString caption, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    int width = 0;
};

void closeNextBoxWith(QMessageBox::StandardButton press, SeenBox& seen) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "no modal box";
            return;
        }
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.modality = box->windowModality();
        seen.width = box->width();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text().remove('&');
        seen.buttons.sort();
        if (QAbstractButton* button = box->button(press))
            button->click();
        else
            box->reject();
    });
}

TEST(MsgBoxOnScreen, ShowsCaptionTextButtonsAndIconAndReturnsTheAnswer) {
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        QMessageBox::StandardButton press;
        MsgAnswer expected;
        QStringList buttonTexts;
        QMessageBox::Icon qtIcon;
    };
    const Case cases[] = {
        {MsgButtons::OK,
         MsgIcon::Critical,
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"OK"},
         QMessageBox::Critical},
        {MsgButtons::OKCancel,
         MsgIcon::Information,
         QMessageBox::Cancel,
         MsgAnswer::Cancel,
         {"Cancel", "OK"},
         QMessageBox::Information},
        {MsgButtons::OKCancel,
         MsgIcon::Information,
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"Cancel", "OK"},
         QMessageBox::Information},
        {MsgButtons::OK,
         MsgIcon::Exclamation,
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"OK"},
         QMessageBox::Warning},
        {MsgButtons::OK,
         MsgIcon::None,
         QMessageBox::Ok,
         MsgAnswer::OK,
         {"OK"},
         QMessageBox::NoIcon},
    };
    for (const Case& c : cases) {
        SeenBox seen;
        closeNextBoxWith(c.press, seen);
        const MsgAnswer answer =
            msgBox("Are you sure you want to Exit program", c.buttons, c.icon,
                   c.icon == MsgIcon::None ? std::nullopt : std::optional(QString("EXIT Program")));
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(seen.text, "Are you sure you want to Exit program");
        EXPECT_EQ(seen.caption, c.icon == MsgIcon::None ? "Clearmark" : "EXIT Program");
        EXPECT_EQ(seen.buttons, c.buttonTexts);
        EXPECT_EQ(seen.icon, c.qtIcon);
        EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    }
}

TEST(MsgBoxOnScreen, IsWideEnoughForALongCaption) {
    const QString caption =
        "Please Adjust your new shim size as follows (for Triumph Motorcycles):";
    SeenBox seen;
    closeNextBoxWith(QMessageBox::Ok, seen);
    msgBox("Bad data", MsgButtons::OK, MsgIcon::Exclamation, caption);
    EXPECT_EQ(seen.caption, caption);
    EXPECT_GE(seen.width, msgBoxWidthForCaption(caption));
    EXPECT_GT(msgBoxWidthForCaption(caption), msgBoxWidthForCaption("Error"));
}

TEST(MsgBoxOnScreen, ClosingWithoutAButtonAnswersCancelWhereOffered) {
    for (const auto& [buttons, expected] :
         {std::pair{MsgButtons::OKCancel, MsgAnswer::Cancel}, {MsgButtons::OK, MsgAnswer::OK}}) {
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(msgBox("x", buttons), expected);
    }
}

} // namespace
} // namespace clearmark::runtime

#include "runtime_test.moc"
