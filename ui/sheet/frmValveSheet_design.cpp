#include "sheet/frmValveSheet_design.h"

#include "core/valve_sheet.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <vector>

namespace clearmark::sheet {
namespace {

using runtime::ControlDesign;
using runtime::FontDesign;
using runtime::Visibility;
using enum runtime::ControlKind;

constexpr FontDesign kRegular{};
constexpr FontDesign kBold{8.25, true};

// The summary's line with the default rows shown: its boxes, their labels level with them,
// and the buttons centred on them. The controls below the rows move from here.
constexpr int kBoxTop = summaryTop(kDefaultRows);
constexpr int kLabelTop = kBoxTop + kLabelDrop;
constexpr int kButtonTop = kBoxTop - kButtonRise;

// The settings, the headings, the summary and the buttons; the rows follow in the design.
// Tab indexes: the job's fields 0-2, the settings 3-18, the rows' gap and shim boxes from
// 20, the buttons from 100; read-only boxes take no tab stop.
// clang-format off
constexpr ControlDesign kFixedControls[] = {
//   name                    kind           caption                        left         top width         height  tab  font
    {"lblCylinders",         Label,         "Cylinders",                    120,        165,  900,           225, 300},
    {"txtCylinders",         TextBox,       "",                            1050,        120,  480,           300,   3},
    {"lblIntakeValves",      Label,         "Intake valves per cylinder",  1740,        165, 2100,           225, 300},
    {"txtIntakeValves",      TextBox,       "",                            3870,        120,  480,           300,   4},
    {"lblExhaustValves",     Label,         "Exhaust valves per cylinder", 4560,        165, 2220,           225, 300},
    {"txtExhaustValves",     TextBox,       "",                            6810,        120,  480,           300,   5},
    {"chkLeaveInRangeAlone", CheckBox,      "Leave valves in range alone", 7500,        120, 2850,           300,  18},
    {"lblBike",              Label,         "Bike",                       10620,        165,  870,           225, 300},
    {"txtBike",              TextBox,       "",                           11520,        120, 2760,           300,   0},
    {"lblDate",              Label,         "Date",                       10620,        585,  870,           225, 300},
    {"txtDate",              TextBox,       "",                           11520,        540, 1320,           300,   1},
    {"lblOdometer",          Label,         "Odometer",                   10620,        975,  870,           225, 300},
    {"txtOdometer",          TextBox,       "",                           11520,        930, 1320,           300,   2},

    {"lblIntakeGap",         Label,         "Intake gap",                   120,        585,  930,           225, 300},
    {"lblIntakeFrom",        Label,         "from",                        1080,        585,  420,           225, 300},
    {"txtIntakeFrom",        TextBox,       "",                            1500,        540,  780,           300,   6},
    {"lblIntakeTo",          Label,         "to",                          2370,        585,  210,           225, 300},
    {"txtIntakeTo",          TextBox,       "",                            2610,        540,  780,           300,   7},
    {"lblIntakeAim",         Label,         "aim",                         3480,        585,  330,           225, 300},
    {"txtIntakeAim",         TextBox,       "",                            3840,        540,  780,           300,   8},
    {"optMillimeters",       OptionButton,  "Millimeters",                 4800,        540, 1320,           300,  12},
    {"lblShimsFrom",         Label,         "Shims from",                  6240,        585,  900,           225, 300},
    {"txtShimsFrom",         TextBox,       "",                            7170,        540,  780,           300,  14},
    {"lblShimsTo",           Label,         "to",                          8040,        585,  210,           225, 300},
    {"txtShimsTo",           TextBox,       "",                            8280,        540,  780,           300,  15},
    {"lblShimStep",          Label,         "step",                        9150,        585,  390,           225, 300},
    {"txtShimStep",          TextBox,       "",                            9570,        540,  780,           300,  16},

    {"lblExhaustGap",        Label,         "Exhaust gap",                  120,        975,  930,           225, 300},
    {"lblExhaustFrom",       Label,         "from",                        1080,        975,  420,           225, 300},
    {"txtExhaustFrom",       TextBox,       "",                            1500,        930,  780,           300,   9},
    {"lblExhaustTo",         Label,         "to",                          2370,        975,  210,           225, 300},
    {"txtExhaustTo",         TextBox,       "",                            2610,        930,  780,           300,  10},
    {"lblExhaustAim",        Label,         "aim",                         3480,        975,  330,           225, 300},
    {"txtExhaustAim",        TextBox,       "",                            3840,        930,  780,           300,  11},
    {"optInches",            OptionButton,  "Inches",                      4800,        930, 1320,           300,  13},
    {"lblSpares",            Label,         "Spare shims",                 6240,        975,  900,           225, 300},
    {"txtSpares",            TextBox,       "",                            7170,        930, 3180,           300,  17},

    {"lblValveHeading",      Label,         "Valve",                        120,       1380, 1860,           225, 300, kBold},
    {"lblGapHeading",        Label,         "Gap",                         2010,       1380,  900,           225, 300, kBold},
    {"lblShimHeading",       Label,         "Shim",                        2970,       1380,  900,           225, 300, kBold},
    {"lblPlanHeading",       Label,         "Plan",                        3930,       1380, 6930,           225, 300, kBold},
    {"lblNewGapHeading",     Label,         "New gap",                    10980,       1380, 3300,           225, 300, kBold},

    {"lblBuy",               Label,         "Buy",                          120,  kLabelTop,  420,           225, 300},
    {"txtBuy",               TextBox,       "",                             570,    kBoxTop, 2850,    kBoxHeight, 200},
    {"lblLeftOver",          Label,         "Left over",                   3540,  kLabelTop,  750,           225, 300},
    {"txtLeftOver",          TextBox,       "",                            4320,    kBoxTop, 3810,    kBoxHeight, 201},
    {"cmdPlan",              CommandButton, "Plan",                        8250, kButtonTop,  990, kButtonHeight, 100},
    {"cmdFitted",            CommandButton, "Fitted",                      9300, kButtonTop, 1830, kButtonHeight, 101},
    {"cmdCopy",              CommandButton, "Copy",                       11190, kButtonTop,  990, kButtonHeight, 102},
    {"cmdReset",             CommandButton, "Reset",                      12240, kButtonTop,  990, kButtonHeight, 103},
    {"cmdClose",             CommandButton, "Close",                      13290, kButtonTop,  990, kButtonHeight, 104},
};
// clang-format on

// The job as a document, as on every desktop.
// clang-format off
constexpr runtime::MenuEntryDesign kFileEntries[] = {
    {"mnuNew",       "&New",          runtime::Shortcut{'N'}},
    {"mnuOpen",      "&Open...",      runtime::Shortcut{'O'}},
    {"mnuSave",      "&Save",         runtime::Shortcut{'S'}},
    {"mnuSaveAs",    "Save &As..."},
    {"mnuPrint",     "&Print...",     runtime::Shortcut{'P'}},
    {"mnuPrintBlank", "Print B&lank Sheet..."},
    {"mnuNextCheck", "Next C&heck"},
    {"mnuShimBox",   "Shim &Box..."},
    {"mnuClose",     "&Close"},
};
// clang-format on
constexpr runtime::MenuDesign kMenus[] = {{"mnuFile", "&File", kFileEntries}};

// A row's controls left to right: name prefix, left, width.
struct RowColumn {
    const char* prefix;
    int left;
    int width;
};
// In the order of RowPart.
constexpr RowColumn kRowColumns[] = {
    {"lblValve", 120, 1860}, {"txtGap", 2010, 900},      {"txtShim", 2970, 900},
    {"txtPlan", 3930, 6930}, {"txtNewGap", 10980, 3300},
};

struct SheetDesign {
    std::deque<std::string> names; // the rows' control names, which the design points into
    std::vector<ControlDesign> controls;
    runtime::WindowDesign window;
};

const SheetDesign& sheetDesign() {
    static const SheetDesign design = [] {
        SheetDesign d;
        d.controls.assign(std::begin(kFixedControls), std::end(kFixedControls));
        for (std::size_t i = 0; i < kMostValves; ++i) {
            const int top = kFirstRowTop + int(i) * kRowPitch;
            const Visibility shown = i < kDefaultRows ? Visibility::Shown : Visibility::Hidden;
            const RowColumn& name = kRowColumns[std::size_t(RowPart::Name)];
            const char* label = d.names.emplace_back(rowControl(RowPart::Name, i)).c_str();
            d.controls.push_back({label, Label, "", name.left, top + kLabelDrop, name.width, 225,
                                  300, kRegular, shown});
            for (const RowPart part :
                 {RowPart::Gap, RowPart::Shim, RowPart::Plan, RowPart::NewGap}) {
                const RowColumn& at = kRowColumns[std::size_t(part)];
                const char* box = d.names.emplace_back(rowControl(part, i)).c_str();
                const bool editable = part == RowPart::Gap || part == RowPart::Shim;
                const int column = int(part) - int(RowPart::Gap); // 0 for the gap
                const int tab = (editable ? 20 : 202) + int(2 * i) + column;
                ControlDesign design{box,      TextBox,    "",  at.left,  top,
                                     at.width, kRowHeight, tab, kRegular, shown};
                design.readOnly = !editable;
                d.controls.push_back(design);
            }
        }
        for (ControlDesign& control : d.controls)
            if (control.name == std::string_view("txtBuy") ||
                control.name == std::string_view("txtLeftOver"))
                control.readOnly = true;
        d.window = runtime::WindowDesign{
            .name = "frmValveSheet",
            .caption = kCaption,
            .clientWidth = kClientWidth,
            .clientHeight = clientHeight(kDefaultRows),
            .controls = d.controls,
            .menus = kMenus,
            .defaultButton = "cmdPlan",
            .cancelButton = "cmdClose",
        };
        return d;
    }();
    return design;
}

} // namespace

std::string rowControl(RowPart part, std::size_t row) {
    return kRowColumns[std::size_t(part)].prefix + std::to_string(row + 1);
}

const runtime::ControlDesign& fixedDesign(std::string_view name) {
    return *std::find_if(std::begin(kFixedControls), std::end(kFixedControls),
                         [name](const ControlDesign& design) { return name == design.name; });
}

const runtime::WindowDesign& windowDesign() {
    return sheetDesign().window;
}

} // namespace clearmark::sheet
