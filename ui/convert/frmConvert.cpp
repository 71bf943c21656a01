#include "frmConvert.h"

#include "clipboard.h"
#include "forms.h"
#include "measurement.h"
#include "msgbox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace clearmark {
namespace {

using runtime::ControlDesign;
using runtime::ControlKind;

constexpr runtime::WindowDesign kWindow{
    .name = frmConvert::kFormName,
    .caption = "Conversion Form",
    .clientWidth = 4680,
    .clientHeight = 3090,
    .fixedStart = true,
    .startLeft = 1830,
    .startTop = 1425,
};

// In stored order, which is also the order of creation and stacking.
constexpr ControlDesign kControls[] = {
    {"cmdConvert1", ControlKind::CommandButton, "Convert", 360, 1440, 1695, 615, 6, {12, true}},
    {"cmdReset", ControlKind::CommandButton, "Reset", 2880, 2160, 1335, 615, 5, {12, true}},
    {"cmdCopy",
     ControlKind::CommandButton,
     "Copy to Clipboard  and exit",
     360,
     2280,
     1695,
     615,
     4,
     {8.25, true}},
    {"optInchesToMm", ControlKind::OptionButton, "Inches to MM", 2760, 960, 1575, 255, 2},
    {"optMmToInches", ControlKind::OptionButton, "MM to Inches", 2760, 480, 1815, 195, 1},
    {"txtData", ControlKind::TextBox, "", 240, 480, 1935, 495, 0, {18, true}},
    {"lblconvert", ControlKind::Label, "Enter the measurement below, then check which method", 360,
     120, 4095, 375, 3},
};

void showNoNumber(const QString& text) {
    runtime::msgBox(text, runtime::MsgButtons::OK, runtime::MsgIcon::None,
                    QStringLiteral("Please Enter Data"));
}

} // namespace

frmConvert::frmConvert() : Form(kWindow) {
    buildControls(kControls);
    txtData_ = control<QLineEdit>("txtData");
    optMmToInches_ = control<QRadioButton>("optMmToInches");
    optInchesToMm_ = control<QRadioButton>("optInchesToMm");
    nameFromLabel("txtData", "lblconvert");
    onClick("cmdConvert1", &frmConvert::cmdConvert1_Click);
    onClick("cmdReset", &frmConvert::cmdReset_Click);
    onClick("cmdCopy", &frmConvert::cmdCopy_Click);
}

void frmConvert::Form_Load() {
    txtData_->setText(QString());
    runtime::setOptionValue(optMmToInches_, false);
    runtime::setOptionValue(optInchesToMm_, false);
}

void frmConvert::cmdConvert1_Click() {
    const QString text = txtData_->text();
    if (text.isEmpty()) {
        showNoNumber(QStringLiteral("No data"));
        return;
    }
    const bool toInches = optMmToInches_->isChecked();
    if (!toInches && !optInchesToMm_->isChecked())
        return; // no direction chosen: nothing to do
    const std::optional<double> value = parseMeasurement(text.toStdString());
    // Text that is no number, and a product beyond the double range, leave everything as
    // it was.
    const double converted =
        !value ? 0.0 : (toInches ? *value / kMillimetresPerInch : *value * kMillimetresPerInch);
    if (!value || !std::isfinite(converted)) {
        showNoNumber(QStringLiteral("Bad data"));
        return;
    }
    convertedValue_ = converted;
    txtData_->setText(QString::fromStdString(formatMeasurement(convertedValue_)));
}

void frmConvert::cmdReset_Click() {
    txtData_->setText(QString());
}

void frmConvert::cmdCopy_Click() {
    const QString text = txtData_->text();
    if (text.isEmpty()) {
        runtime::msgBox(QStringLiteral("No Data to Copy"), runtime::MsgButtons::OK,
                        runtime::MsgIcon::None, QStringLiteral("Error No Data"));
        return;
    }
    runtime::msgBox(QStringLiteral("Good data to copy. Data =  ") + text);
    runtime::setClipboardText(text);
    txtData_->setText(QString());
    runtime::setOptionValue(optMmToInches_, false);
    runtime::setOptionValue(optInchesToMm_, false);
    runtime::forms().unload(kFormName);
}

} // namespace clearmark
