#include "main/frmClearmark.h"

#include "convert/frmConvert.h"
#include "core/measurement.h"
#include "core/shim.h"
#include "info/frmAbout.h"
#include "info/frmHelpCalculator.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"
#include "runtime/program.h"
#include "sheet/frmShimBox.h"
#include "sheet/frmValveSheet.h"

namespace clearmark {
namespace {

using runtime::Alignment;
using runtime::ControlDesign;
using runtime::FontDesign;
using runtime::Visibility;
using enum runtime::ControlKind;

constexpr FontDesign kRegular{};
constexpr FontDesign kBold975{9.75, true};
constexpr FontDesign kBold12{12, true};
constexpr FontDesign kBold18{18, true};
constexpr Visibility kHidden = Visibility::Hidden;
constexpr Visibility kShown = Visibility::Shown;

// In stored order, which is also the order of creation and stacking.
// clang-format off
constexpr ControlDesign kControls[] = {
//   name            kind           caption                                             left   top  width height tab  font      shown    alignment
    {"cmdExhaust",   CommandButton, "EX",                                               4440,  600,  375,  255,  13},
    {"cmdIntake",    CommandButton, "IN",                                               4440,  360,  375,  255,  12},
    {"cmdConverter", CommandButton, "Converter",                                        5160, 2040, 1575,  615,  11, kBold975},
    {"txtNewShim",   TextBox,       "",                                                 2520, 1560, 1695,  495,   9, kBold18,  kHidden},
    {"txtOldShim",   TextBox,       "",                                                  240, 1560, 1695,  525,   2, kBold18},
    {"txtSpec",      TextBox,       "",                                                 2520,  360, 1695,  495,   3, kBold18},
    {"txtGap",       TextBox,       "",                                                  240,  360, 1695,  495,   1, kBold18},
    {"cmdReset",     CommandButton, "Reset",                                            1560, 2520,  855,  375,   5},
    {"cmdCalculate", CommandButton, "Calculate",                                        2640, 2520,  855,  375,   4},
    {"cmdExit",      CommandButton, "Exit",                                              480, 2520,  855,  375,   0},
    {"lblConvert",   Label,         "Enter values in Millimeters or use the Converter", 4800, 1080, 2295, 1095,  16, kBold12,  kShown,  Alignment::Centred},
    {"lblExhaust",   Label,         "Exhaust Average Spec",                             4920,  600, 1815,  255,  15},
    {"lblIntake",    Label,         "Intake Average Spec",                              4920,  360, 1815,  255,  14},
    {"lblNewShim",   Label,         "New Shim Size (approx)",                           2520, 1320, 1695,  255,  10, kRegular, kHidden},
    {"lblOldShim",   Label,         "Original Shim Size",                                360, 1320, 1695,  255,   8},
    {"lblSpec",      Label,         "Desired Gap Specification",                        2520,  120, 2055,  255,   7},
    {"lblGap",       Label,         "Measured Clearance Gap",                            240,  120, 1935,  255,   6},
};
// clang-format on

constexpr runtime::MenuEntryDesign kHelpEntries[] = {
    {.name = "mnuAbout", .caption = "About"},
    {.name = "mnuHelp2", .caption = "Help"},
};
constexpr runtime::MenuEntryDesign kToolsEntries[] = {
    {.name = "mnuValveSheet", .caption = "Valve Sheet..."},
    {.name = "mnuShimBox", .caption = "Shim Box..."},
};
constexpr runtime::MenuDesign kMenus[] = {
    {.name = "mnuTools", .caption = "Tools", .entries = kToolsEntries},
    {.name = "mnuHelp", .caption = "Help", .entries = kHelpEntries},
};

constexpr runtime::WindowDesign kWindow{
    .name = "frmClearmark",
    .caption = "Dorvan's Clearmark",
    .clientWidth = 7440,
    .clientHeight = 3210,
    .controls = kControls,
    .menus = kMenus,
};

constexpr const char* kShimSizesText =
    "Triumph shims come in 0.025mm increments from 2.00 to 3.20mm in 0.025mm increments. "
    "Adjust the approx. size above accordingly to match the available shim sizes.";
constexpr const char* kShimSizesCaption =
    "Please Adjust your new shim size as follows (for Triumph Motorcycles):";

} // namespace

frmClearmark::frmClearmark() : Form(kWindow) {
    nameFromLabel(txtGap, control<runtime::Label>("lblGap"));
    nameFromLabel(txtOldShim, control<runtime::Label>("lblOldShim"));
    nameFromLabel(txtSpec, control<runtime::Label>("lblSpec"));
    nameFromLabel(txtNewShim, lblNewShim);

    onClick(control<runtime::CommandButton>("cmdCalculate"), &frmClearmark::cmdCalculate_Click);
    onClick(control<runtime::CommandButton>("cmdIntake"), &frmClearmark::cmdIntake_Click);
    onClick(control<runtime::CommandButton>("cmdExhaust"), &frmClearmark::cmdExhaust_Click);
    onClick(control<runtime::CommandButton>("cmdReset"), &frmClearmark::cmdReset_Click);
    onClick(control<runtime::CommandButton>("cmdConverter"), &frmClearmark::cmdConverter_Click);
    onClick(control<runtime::CommandButton>("cmdExit"), &frmClearmark::cmdExit_Click);
    onClick(control<runtime::MenuItem>("mnuAbout"), &frmClearmark::mnuAbout_Click);
    onClick(control<runtime::MenuItem>("mnuHelp2"), &frmClearmark::mnuHelp2_Click);
    onClick(control<runtime::MenuItem>("mnuValveSheet"), &frmClearmark::mnuValveSheet_Click);
    onClick(control<runtime::MenuItem>("mnuShimBox"), &frmClearmark::mnuShimBox_Click);
}

void frmClearmark::Form_Load() {
    // The converter is loaded now, hidden, so that its own load step runs at start.
    runtime::forms().hide<frmConvert>();
}

namespace {

// Ends the program once the unsaved changes of the job and of the shim box are saved or given
// up; nothing ends when the user cancels or a save does not complete.
void endOnceSaved() {
    const auto endOnceBoxSaved = [] {
        if (auto* box = runtime::forms().find<frmShimBox>())
            box->askToSave([] { runtime::endProgram(); });
        else
            runtime::endProgram();
    };
    if (auto* sheet = runtime::forms().find<frmValveSheet>())
        sheet->askToSave(endOnceBoxSaved);
    else
        endOnceBoxSaved();
}

bool unsavedChanges() {
    const frmValveSheet* sheet = runtime::forms().find<frmValveSheet>();
    const frmShimBox* box = runtime::forms().find<frmShimBox>();
    return (sheet != nullptr && sheet->modified()) || (box != nullptr && box->modified());
}

} // namespace

bool frmClearmark::Form_QueryUnload() {
    if (!unsavedChanges())
        return true;
    endOnceSaved();
    return false;
}

void frmClearmark::Form_Unload() {
    // Closing the main window by any means but Exit ends the program without a question.
    runtime::endProgram();
}

void frmClearmark::cmdConverter_Click() {
    runtime::forms().show<frmConvert>();
}

void frmClearmark::mnuHelp2_Click() {
    runtime::forms().show<frmHelpCalculator>();
}

void frmClearmark::mnuValveSheet_Click() {
    runtime::forms().show<frmValveSheet>();
}

void frmClearmark::mnuShimBox_Click() {
    runtime::forms().show<frmShimBox>();
}

void frmClearmark::mnuAbout_Click() {
    runtime::forms().show<frmAbout>();
}

void frmClearmark::cmdExit_Click() {
    runtime::msgBox("Are you sure you want to Exit program", runtime::MsgButtons::OKCancel,
                    runtime::MsgIcon::Information, "EXIT Program", [](runtime::MsgAnswer answer) {
                        if (answer == runtime::MsgAnswer::OK)
                            endOnceSaved();
                    });
}

void frmClearmark::cmdCalculate_Click() {
    txtNewShim.setText("");
    const std::string desired = txtSpec.text();
    const std::string gap = txtGap.text();
    const std::string oldShim = txtOldShim.text();
    if (desired.empty() || gap.empty() || oldShim.empty()) {
        showBadData();
        return;
    }
    // All three are read before any is stored: a text that is no number leaves the
    // window's numbers as they were.
    const auto desiredGap = parseMeasurement(desired);
    const auto measured = parseMeasurement(gap);
    const auto original = parseMeasurement(oldShim);
    const auto result = desiredGap && measured && original
                            ? computeNewShim(*desiredGap, *measured, *original)
                            : std::nullopt;
    if (!result) {
        showBadData();
        return;
    }
    desiredGap_ = *desiredGap;
    measuredGap_ = *measured;
    originalShim_ = *original;
    gapDifference_ = result->gapDifference;

    txtNewShim.setText(formatMeasurement(result->newShim));
    lblNewShim.setVisible(true);
    txtNewShim.setVisible(true);
    runtime::msgBox(kShimSizesText, runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation,
                    kShimSizesCaption);
}

void frmClearmark::showBadData() {
    // The result goes once the box has been read.
    runtime::msgBox("Bad data", runtime::MsgButtons::OK, runtime::MsgIcon::Critical, "Error",
                    [this](runtime::MsgAnswer) {
                        txtNewShim.setVisible(false);
                        lblNewShim.setVisible(false);
                    });
}

void frmClearmark::cmdIntake_Click() {
    txtSpec.setText(kIntakeDefaultGap);
}

void frmClearmark::cmdExhaust_Click() {
    txtSpec.setText(kExhaustDefaultGap);
}

void frmClearmark::cmdReset_Click() {
    desiredGap_ = 0.0;
    measuredGap_ = 0.0;
    gapDifference_ = 0.0;
    originalShim_ = 0.0;
    txtGap.setText("");
    txtSpec.setText("");
    txtOldShim.setText("");
    txtNewShim.setText("");
    txtNewShim.setVisible(false);
    lblNewShim.setVisible(false);
}

} // namespace clearmark
