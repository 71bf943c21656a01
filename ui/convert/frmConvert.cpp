#include "convert/frmConvert.h"

#include "core/measurement.h"
#include "runtime/clipboard.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"

#include <cmath>

namespace clearmark {
namespace {

using runtime::ControlDesign;
using runtime::FontDesign;
using enum runtime::ControlKind;

constexpr FontDesign kBold{8.25, true};
constexpr FontDesign kBold12{12, true};
constexpr FontDesign kBold18{18, true};

// In stored order, which is also the order of creation and stacking.
// clang-format off
constexpr ControlDesign kControls[] = {
//   name             kind          caption                                                 left   top  width height tab  font
    {"cmdConvert1",   CommandButton, "Convert",                                               360, 1440, 1695,  615,   6, kBold12},
    {"cmdReset",      CommandButton, "Reset",                                                2880, 2160, 1335,  615,   5, kBold12},
    {"cmdCopy",       CommandButton, "Copy to Clipboard  and exit",                           360, 2280, 1695,  615,   4, kBold},
    {"optInchesToMm", OptionButton,  "Inches to MM",                                         2760,  960, 1575,  255,   2},
    {"optMmToInches", OptionButton,  "MM to Inches",                                         2760,  480, 1815,  195,   1},
    {"txtData",       TextBox,       "",                                                      240,  480, 1935,  495,   0, kBold18},
    {"lblconvert",    Label,         "Enter the measurement below, then check which method",  360,  120, 4095,  375,   3},
};
// clang-format on

constexpr runtime::WindowDesign kWindow{
    .name = "frmConvert",
    .caption = "Conversion Form",
    .clientWidth = 4680,
    .clientHeight = 3090,
    .controls = kControls,
    .start = runtime::StartPosition{.left = 1830, .top = 1425},
};

constexpr const char* kCopyFailed =
    "The text could not be copied: another program is holding the clipboard. Nothing was "
    "copied; please try again.";

void showNoNumber(const char* text) {
    runtime::msgBox(text, runtime::MsgButtons::OK, runtime::MsgIcon::None, "Please Enter Data");
}

} // namespace

frmConvert::frmConvert() : Form(kWindow) {
    nameFromLabel(txtData, control<runtime::Label>("lblconvert"));
    onClick(control<runtime::CommandButton>("cmdConvert1"), &frmConvert::cmdConvert1_Click);
    onClick(control<runtime::CommandButton>("cmdReset"), &frmConvert::cmdReset_Click);
    onClick(control<runtime::CommandButton>("cmdCopy"), &frmConvert::cmdCopy_Click);
}

void frmConvert::Form_Load() {
    txtData.setText("");
    optMmToInches.setValue(false);
    optInchesToMm.setValue(false);
}

void frmConvert::cmdConvert1_Click() {
    const std::string text = txtData.text();
    if (text.empty()) {
        showNoNumber("No data");
        return;
    }
    const bool toInches = optMmToInches.value();
    if (!toInches && !optInchesToMm.value())
        return; // no direction chosen: nothing to do
    const std::optional<double> value = parseMeasurement(text);
    // Text that is no number, and a product beyond the double range, leave everything as
    // it was.
    const double converted =
        !value ? 0.0 : (toInches ? *value / kMillimetresPerInch : *value * kMillimetresPerInch);
    if (!value || !std::isfinite(converted)) {
        showNoNumber("Bad data");
        return;
    }
    convertedValue_ = converted;
    txtData.setText(formatMeasurement(convertedValue_));
}

void frmConvert::cmdReset_Click() {
    txtData.setText("");
}

void frmConvert::cmdCopy_Click() {
    const std::string text = txtData.text();
    if (text.empty()) {
        runtime::msgBox("No Data to Copy", runtime::MsgButtons::OK, runtime::MsgIcon::None,
                        "Error No Data");
        return;
    }
    runtime::msgBox("Good data to copy. Data =  " + text, [this, text](runtime::MsgAnswer) {
        runtime::setClipboardText(text, [this](bool copied) { copyDone(copied); });
    });
}

void frmConvert::copyDone(bool copied) {
    if (!copied) {
        // The text would be lost with the window: it stays, and the user can try again.
        runtime::msgBox(kCopyFailed, runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation);
        return;
    }
    txtData.setText("");
    optMmToInches.setValue(false);
    optInchesToMm.setValue(false);
    runtime::forms().unload(*this);
}

} // namespace clearmark
