#include "info/frmHelpCalculator.h"

#include <string>
#include <utility>

namespace clearmark {
namespace {

using enum runtime::ControlKind;

// The label is 15 twips wider than the window and leaves a strip of the window's own colour
// along the bottom. Its caption, the help text, is set when the window is made.
// clang-format off
constexpr runtime::ControlDesign kControls[] = {
//   name       kind   caption left top  width height tab
    {"lblHelp", Label, "",     0,   0,   7815, 1695,  0},
};
// clang-format on

constexpr runtime::WindowDesign kWindow{
    .name = "frmHelpCalculator",
    .caption = "How To Use Calculator",
    .clientWidth = 7800,
    .clientHeight = 1755,
    .controls = kControls,
    .backColor = runtime::SystemColor::InactiveCaptionText,
};

// The help text: five paragraphs, each of the first four followed by a run of spaces that
// fills out its last line.
std::string helpText() {
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
    std::string text;
    for (const auto& [paragraph, spaces] : paragraphs)
        text += paragraph + std::string(spaces, ' ');
    return text;
}

} // namespace

frmHelpCalculator::frmHelpCalculator() : Form(kWindow) {
    control<runtime::Label>("lblHelp").setCaption(helpText());
}

} // namespace clearmark
