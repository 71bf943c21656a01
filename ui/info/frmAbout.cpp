#include "frmAbout.h"

#include "SysInfoLauncher.h"
#include "forms.h"
#include "icons.h"
#include "msgbox.h"

#include <QLabel>
#include <QPushButton>

namespace clearmark {
namespace {

using runtime::ControlDesign;
using runtime::ControlKind;

constexpr runtime::WindowDesign kWindow{
    .name = frmAbout::kFormName,
    .caption = "",
    .clientWidth = 5730,
    .clientHeight = 4560,
    .border = runtime::Border::FixedDialog,
    .fixedStart = true,
    .startLeft = 2340,
    .startTop = 1935,
    .inTaskBar = false,
};

constexpr unsigned kBlack = 0x000000;
constexpr unsigned kRed = 0xFF0000;
constexpr runtime::FontDesign kRegular{};
constexpr runtime::FontDesign kBold{8.25, true};

// In stored order, which is also the order of creation and stacking; the two lines of
// Line1 are drawn separately.
constexpr ControlDesign kControls[] = {
    {"picIcon", ControlKind::Picture, "", 240, 240, 540, 540, 1},
    {"cmdOK", ControlKind::CommandButton, "OK", 4245, 2625, 1260, 345, 0},
    {"cmdSysInfo", ControlKind::CommandButton, "&System Info...", 4260, 3075, 1245, 345, 2},
    {"lblDescription", ControlKind::Label,
     "This program will determine which size shim you need in order to get the proper valve "
     "clearance. You can use the default average of 0.175 for intake and 0.275 for exhaust OR "
     "you can enter you own desired end gap This program may also be used for other makes, "
     "but use at your own risk.",
     1050, 1125, 3885, 1170, 3, kRegular, true, true, kBlack},
    {"lblTitle", ControlKind::Label, "", 1050, 240, 3885, 480, 5, kRegular, true, true, kBlack},
    {"lblVersion", ControlKind::Label, "", 1050, 780, 3885, 225, 6, kBold, true, true},
    {"lblDisclaimer", ControlKind::Label,
     "Warning: Use at your own risk! I accept no liability or fault for errors contained or "
     "damage to any parts by use of this application. If you are not experienced enough to do "
     "a valve shim replacement, do not attempt to do so. You have been warned!",
     255, 2625, 3870, 1185, 4, kBold, true, true, kRed},
};

// The launcher's one message, as a box of the program.
class BoxMessages final : public SysInfoMessages {
public:
    void show(const std::string& text) override {
        runtime::msgBox(QString::fromLocal8Bit(text.data(), qsizetype(text.size())));
    }
};

} // namespace

frmAbout::frmAbout() : Form(kWindow) {
    buildControls(kControls);
    auto* picture = control<QLabel>("picIcon");
    picture->setPixmap(runtime::aboutPicture().pixmap(32, 32));

    // The etched separator: a dark grey line, and a white one of double width below it.
    auto* dark =
        new runtime::Line(client(), "Line1", 1, {90, 2445}, {5654, 2445}, QColor(128, 128, 128), 1);
    auto* light = new runtime::Line(client(), "Line1", 0, {105, 2460}, {5654, 2460}, Qt::white, 2);
    dark->lower();
    light->lower();

    setDefaultButtons(control<QPushButton>("cmdOK"), control<QPushButton>("cmdOK"));
    onClick("cmdOK", &frmAbout::cmdOK_Click);
    onClick("cmdSysInfo", &frmAbout::cmdSysInfo_Click);
}

QString frmAbout::versionCaption(const runtime::AppVersion& version) {
    return QStringLiteral("Version ") + runtime::formatVersion(version);
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + runtime::appTitle());
    control<QLabel>("lblVersion")->setText(versionCaption(runtime::appVersion()));
    control<QLabel>("lblTitle")->setText(runtime::appTitle());
}

void frmAbout::cmdOK_Click() {
    runtime::forms().unload(kFormName);
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
