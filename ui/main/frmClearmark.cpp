#include "frmClearmark.h"

#include "forms.h"
#include "measurement.h"
#include "msgbox.h"
#include "program.h"
#include "shim.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace clearmark {
namespace {

using runtime::ControlDesign;
using runtime::ControlKind;

constexpr runtime::WindowDesign kWindow{
    .name = frmClearmark::kFormName,
    .caption = "Dorvan's Clearmark",
    .clientWidth = 7440,
    .clientHeight = 3210,
};

constexpr runtime::FontDesign kLargeBold{18, true};

// In stored order, which is also the order of creation and stacking.
constexpr ControlDesign kControls[] = {
    {"cmdExhaust", ControlKind::CommandButton, "EX", 4440, 600, 375, 255, 13},
    {"cmdIntake", ControlKind::CommandButton, "IN", 4440, 360, 375, 255, 12},
    {"cmdConverter",
     ControlKind::CommandButton,
     "Converter",
     5160,
     2040,
     1575,
     615,
     11,
     {9.75, true}},
    {"txtNewShim", ControlKind::TextBox, "", 2520, 1560, 1695, 495, 9, kLargeBold, false},
    {"txtOldShim", ControlKind::TextBox, "", 240, 1560, 1695, 525, 2, kLargeBold},
    {"txtSpec", ControlKind::TextBox, "", 2520, 360, 1695, 495, 3, kLargeBold},
    {"txtGap", ControlKind::TextBox, "", 240, 360, 1695, 495, 1, kLargeBold},
    {"cmdReset", ControlKind::CommandButton, "Reset", 1560, 2520, 855, 375, 5},
    {"cmdCalculate", ControlKind::CommandButton, "Calculate", 2640, 2520, 855, 375, 4},
    {"cmdExit", ControlKind::CommandButton, "Exit", 480, 2520, 855, 375, 0},
    {"lblConvert",
     ControlKind::Label,
     "Enter values in Millimeters or use the Converter",
     4800,
     1080,
     2295,
     1095,
     16,
     {12, true},
     true,
     true},
    {"lblExhaust", ControlKind::Label, "Exhaust Average Spec", 4920, 600, 1815, 255, 15},
    {"lblIntake", ControlKind::Label, "Intake Average Spec", 4920, 360, 1815, 255, 14},
    {"lblNewShim",
     ControlKind::Label,
     "New Shim Size (approx)",
     2520,
     1320,
     1695,
     255,
     10,
     {},
     false},
    {"lblOldShim", ControlKind::Label, "Original Shim Size", 360, 1320, 1695, 255, 8},
    {"lblSpec", ControlKind::Label, "Desired Gap Specification", 2520, 120, 2055, 255, 7},
    {"lblGap", ControlKind::Label, "Measured Clearance Gap", 240, 120, 1935, 255, 6},
};

const char* const kShimSizesText =
    "Triumph shims come in 0.025mm increments from 2.00 to 3.20mm in 0.025mm increments. "
    "Adjust the approx. size above accordingly to match the available shim sizes.";
const char* const kShimSizesCaption =
    "Please Adjust your new shim size as follows (for Triumph Motorcycles):";

// The windows this one opens, by name: each opens once it is part of the program.
const QString kConverter = QStringLiteral("frmConvert");
const QString kHelpWindow = QStringLiteral("frmHelpCalculator");
const QString kAboutWindow = QStringLiteral("frmAbout");

// The text of a text box as the number rules read it.
std::optional<double> readNumber(const QLineEdit* box) {
    return parseMeasurement(box->text().toStdString());
}

} // namespace

frmClearmark::frmClearmark() : Form(kWindow) {
    buildControls(kControls);
    txtGap_ = control<QLineEdit>("txtGap");
    txtOldShim_ = control<QLineEdit>("txtOldShim");
    txtSpec_ = control<QLineEdit>("txtSpec");
    txtNewShim_ = control<QLineEdit>("txtNewShim");
    lblNewShim_ = control<QLabel>("lblNewShim");
    nameFromLabel("txtGap", "lblGap");
    nameFromLabel("txtOldShim", "lblOldShim");
    nameFromLabel("txtSpec", "lblSpec");
    nameFromLabel("txtNewShim", "lblNewShim");

    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setNativeMenuBar(false);
    QMenu* mnuHelp = menuBar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    QAction* mnuAbout = mnuHelp->addAction(QStringLiteral("About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    QAction* mnuHelp2 = mnuHelp->addAction(QStringLiteral("Help"));
    mnuHelp2->setObjectName(QStringLiteral("mnuHelp2"));
    setMenuBar(menuBar);

    onClick("cmdCalculate", &frmClearmark::cmdCalculate_Click);
    onClick("cmdIntake", &frmClearmark::cmdIntake_Click);
    onClick("cmdExhaust", &frmClearmark::cmdExhaust_Click);
    onClick("cmdReset", &frmClearmark::cmdReset_Click);
    onClick("cmdConverter", &frmClearmark::cmdConverter_Click);
    onClick("cmdExit", &frmClearmark::cmdExit_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmClearmark::mnuAbout_Click);
    connect(mnuHelp2, &QAction::triggered, this, &frmClearmark::mnuHelp2_Click);
}

void frmClearmark::Form_Load() {
    // The converter is loaded now, hidden, so that its own load step runs at start.
    runtime::forms().hide(kConverter);
}

void frmClearmark::Form_Unload() {
    // Closing the main window by any means but Exit ends the program without a question.
    runtime::endProgram();
}

void frmClearmark::cmdConverter_Click() {
    runtime::forms().show(kConverter);
}

void frmClearmark::mnuHelp2_Click() {
    runtime::forms().show(kHelpWindow);
}

void frmClearmark::mnuAbout_Click() {
    runtime::forms().show(kAboutWindow);
}

void frmClearmark::cmdExit_Click() {
    const runtime::MsgAnswer answer = runtime::msgBox(
        QStringLiteral("Are you sure you want to Exit program"), runtime::MsgButtons::OKCancel,
        runtime::MsgIcon::Information, QStringLiteral("EXIT Program"));
    if (answer == runtime::MsgAnswer::OK)
        runtime::endProgram();
}

void frmClearmark::cmdCalculate_Click() {
    txtNewShim_->setText(QString());
    if (txtSpec_->text().isEmpty() || txtGap_->text().isEmpty() || txtOldShim_->text().isEmpty()) {
        showBadData();
        return;
    }
    // All three are read before any is stored: a text that is no number leaves the
    // window's numbers as they were.
    const auto desired = readNumber(txtSpec_);
    const auto measured = readNumber(txtGap_);
    const auto original = readNumber(txtOldShim_);
    if (!desired || !measured || !original) {
        showBadData();
        return;
    }
    const auto result = computeNewShim(*desired, *measured, *original);
    if (!result) {
        showBadData();
        return;
    }
    desiredGap_ = *desired;
    measuredGap_ = *measured;
    originalShim_ = *original;
    gapDifference_ = result->gapDifference;

    txtNewShim_->setText(QString::fromStdString(formatMeasurement(result->newShim)));
    lblNewShim_->setVisible(true);
    txtNewShim_->setVisible(true);
    runtime::msgBox(QString::fromLatin1(kShimSizesText), runtime::MsgButtons::OK,
                    runtime::MsgIcon::Exclamation, QString::fromLatin1(kShimSizesCaption));
}

void frmClearmark::showBadData() {
    runtime::msgBox(QStringLiteral("Bad data"), runtime::MsgButtons::OK, runtime::MsgIcon::Critical,
                    QStringLiteral("Error"));
    txtNewShim_->setVisible(false);
    lblNewShim_->setVisible(false);
}

void frmClearmark::cmdIntake_Click() {
    txtSpec_->setText(QString::fromLatin1(kIntakeDefaultGap.data(), kIntakeDefaultGap.size()));
}

void frmClearmark::cmdExhaust_Click() {
    txtSpec_->setText(QString::fromLatin1(kExhaustDefaultGap.data(), kExhaustDefaultGap.size()));
}

void frmClearmark::cmdReset_Click() {
    desiredGap_ = 0.0;
    measuredGap_ = 0.0;
    gapDifference_ = 0.0;
    originalShim_ = 0.0;
    txtGap_->clear();
    txtSpec_->clear();
    txtOldShim_->clear();
    txtNewShim_->clear();
    txtNewShim_->setVisible(false);
    lblNewShim_->setVisible(false);
}

} // namespace clearmark
