#include "info/frmAbout.h"

#include "info/SysInfoLauncher.h"
#include "main/pictures.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"

namespace clearmark {
namespace {

using runtime::Alignment;
using runtime::ControlDesign;
using runtime::FontDesign;
using runtime::Rgb;
using runtime::Visibility;
using enum runtime::ControlKind;

constexpr Rgb kBlack = 0x000000;
constexpr Rgb kRed = 0xFF0000;
constexpr Rgb kDarkGrey = 0x808080;
constexpr Rgb kWhite = 0xFFFFFF;
constexpr FontDesign kRegular{};
constexpr FontDesign kBold{8.25, true};
constexpr Visibility kShown = Visibility::Shown;
constexpr Alignment kCentred = Alignment::Centred;

constexpr const char* kDescription =
    "This program will determine which size shim you need in order to get the proper valve "
    "clearance. You can use the default average of 0.175 for intake and 0.275 for exhaust OR "
    "you can enter you own desired end gap This program may also be used for other makes, but "
    "use at your own risk.";
constexpr const char* kDisclaimer =
    "Warning: Use at your own risk! I accept no liability or fault for errors contained or "
    "damage to any parts by use of this application. If you are not experienced enough to do "
    "a valve shim replacement, do not attempt to do so. You have been warned!";

// In stored order, which is also the order of creation and stacking; the picture is set when
// the window is made, the title and version by the load step.
// clang-format off
constexpr ControlDesign kControls[] = {
//   name              kind           caption            left   top  width height tab  font      shown   alignment colour
    {"picIcon",        Picture,       "",                 240,  240,  540,  540,   1},
    {"cmdOK",          CommandButton, "OK",              4245, 2625, 1260,  345,   0},
    {"cmdSysInfo",     CommandButton, "&System Info...", 4260, 3075, 1245,  345,   2},
    {"lblDescription", Label,         kDescription,      1050, 1125, 3885, 1170,   3, kRegular, kShown, kCentred, kBlack},
    {"lblTitle",       Label,         "",                1050,  240, 3885,  480,   5, kRegular, kShown, kCentred, kBlack},
    {"lblVersion",     Label,         "",                1050,  780, 3885,  225,   6, kBold,    kShown, kCentred},
    {"lblDisclaimer",  Label,         kDisclaimer,        255, 2625, 3870, 1185,   4, kBold,    kShown, kCentred, kRed},
};

// The etched separator: a dark grey line, and a white one of double width below it.
constexpr runtime::LineDesign kLines[] = {
//   name     index  x1    y1    x2    y2    colour     width (pixels)
    {"Line1", 1,     90, 2445, 5654, 2445, kDarkGrey, 1},
    {"Line1", 0,    105, 2460, 5654, 2460, kWhite,    2},
};
// clang-format on

constexpr runtime::WindowDesign kWindow{
    .name = "frmAbout",
    .caption = "",
    .clientWidth = 5730,
    .clientHeight = 4560,
    .controls = kControls,
    .border = runtime::Border::FixedDialog,
    .start = runtime::StartPosition{.left = 2340, .top = 1935},
    .inTaskBar = false,
    .lines = kLines,
    .defaultButton = "cmdOK",
    .cancelButton = "cmdOK",
};

// The launcher's one message, as a box of the program.
class BoxMessages final : public SysInfoMessages {
public:
    void show(const std::string& text) override { runtime::msgBox(text); }
};

} // namespace

frmAbout::frmAbout() : Form(kWindow) {
    control<runtime::Picture>("picIcon").setPicture(kAboutPicture);
    onClick(control<runtime::CommandButton>("cmdOK"), &frmAbout::cmdOK_Click);
    onClick(control<runtime::CommandButton>("cmdSysInfo"), &frmAbout::cmdSysInfo_Click);
}

std::string frmAbout::versionCaption(const runtime::AppVersion& version) {
    return "Version " + runtime::formatVersion(version);
}

void frmAbout::Form_Load() {
    setCaption("About " + runtime::appTitle());
    lblVersion.setCaption(versionCaption(runtime::appVersion()));
    lblTitle.setCaption(runtime::appTitle());
}

void frmAbout::cmdOK_Click() {
    runtime::forms().unload(*this);
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void StartSysInfo() {
    const auto registry = platform::systemRegistry();
    const auto files = platform::systemFileSearch();
    const auto starter = platform::systemProgramStarter();
    BoxMessages messages;
    SysInfoLauncher(*registry, *files, *starter, messages).StartSysInfo();
}

} // namespace clearmark
