#include "frmHelpCalculator.h"

#include <QLabel>

namespace clearmark {
namespace {

using runtime::ControlDesign;
using runtime::ControlKind;

constexpr runtime::WindowDesign kWindow{
    .name = frmHelpCalculator::kFormName,
    .caption = "How To Use Calculator",
    .clientWidth = 7800,
    .clientHeight = 1755,
    .backColor = runtime::SystemColor::InactiveCaptionText,
};

// The label is 15 twips wider than the window and leaves a strip of the window's own colour
// along the bottom.
constexpr ControlDesign kControls[] = {
    {"lblHelp", ControlKind::ParagraphLabel, "", 0, 0, 7815, 1695, 0},
};

} // namespace

QString frmHelpCalculator::helpText() {
    const std::pair<const char*, int> paragraphs[] = {
        {"Enter the measured valve clearance (in Millimeters) in the Measured gap box.", 46},
        {"Enter the measured Original shim width into the Original Shim box.", 84},
        {"(These values may also be pasted from the converter)", 79},
        {"Selecting either the Intake (0.175mm) or Exhaust (0.275mm) default buttons will enter "
         "the default AVERAGE values for Triumph Bonneville, Bonneville America, T-100 or "
         "Speedmaster specifications.",
         35},
        {"This value can be changed for averages you wish or for other makes or models of "
         "motorcycle valve shim calculations.",
         0},
    };
    QString text;
    for (const auto& [paragraph, spaces] : paragraphs)
        text += QString::fromLatin1(paragraph) + QString(spaces, QLatin1Char(' '));
    return text;
}

frmHelpCalculator::frmHelpCalculator() : Form(kWindow) {
    buildControls(kControls);
    control<QLabel>("lblHelp")->setText(helpText());
}

} // namespace clearmark
