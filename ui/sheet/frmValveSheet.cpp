#include "sheet/frmValveSheet.h"

#include "core/measurement.h"
#include "runtime/clipboard.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <initializer_list>
#include <map>
#include <utility>

namespace clearmark {
namespace {

using runtime::ControlDesign;
using runtime::FontDesign;
using runtime::Visibility;
using enum runtime::ControlKind;

constexpr FontDesign kRegular{};
constexpr FontDesign kBold{8.25, true};

constexpr int kMostCylinders = 8;
constexpr int kMostValvesPerCylinder = 3;

// The rows: one per valve, 20 pixels apart at 96 DPI, below the settings and the headings.
constexpr int kFirstRowTop = 1650;
constexpr int kRowPitch = 300;
constexpr int kRowHeight = 285;
constexpr int kLabelDrop = 45; // a label's text level with its row's boxes
constexpr int kClientWidth = 10500;
// Below the last row: the summary and the buttons, then the window's bottom margin.
constexpr int kSummaryGap = 120;
constexpr int kSummaryHeight = 330;
constexpr int kBottomMargin = 120;

constexpr int summaryTop(std::size_t rows) {
    return kFirstRowTop + int(rows) * kRowPitch + kSummaryGap;
}
constexpr int clientHeight(std::size_t rows) {
    return summaryTop(rows) + kSummaryHeight + kBottomMargin;
}

// The settings, the headings, the summary and the buttons, placed for the default engine
// (eight valves); the rows follow in the design. Tab indexes: the settings 0-15, the rows'
// gap and shim boxes from 16, the buttons from 100; read-only boxes take no tab stop.
// clang-format off
constexpr ControlDesign kFixedControls[] = {
//   name                    kind           caption                        left   top  width height tab   font
    {"lblCylinders",         Label,         "Cylinders",                    120,  165,   900,  225, 300},
    {"txtCylinders",         TextBox,       "",                            1050,  120,   480,  300,   0},
    {"lblIntakeValves",      Label,         "Intake valves per cylinder",  1740,  165,  2100,  225, 300},
    {"txtIntakeValves",      TextBox,       "",                            3870,  120,   480,  300,   1},
    {"lblExhaustValves",     Label,         "Exhaust valves per cylinder", 4560,  165,  2220,  225, 300},
    {"txtExhaustValves",     TextBox,       "",                            6810,  120,   480,  300,   2},
    {"chkLeaveInRangeAlone", CheckBox,      "Leave valves in range alone", 7500,  120,  2850,  300,  15},

    {"lblIntakeGap",         Label,         "Intake gap",                   120,  585,   930,  225, 300},
    {"lblIntakeFrom",        Label,         "from",                        1080,  585,   420,  225, 300},
    {"txtIntakeFrom",        TextBox,       "",                            1500,  540,   780,  300,   3},
    {"lblIntakeTo",          Label,         "to",                          2370,  585,   210,  225, 300},
    {"txtIntakeTo",          TextBox,       "",                            2610,  540,   780,  300,   4},
    {"lblIntakeAim",         Label,         "aim",                         3480,  585,   330,  225, 300},
    {"txtIntakeAim",         TextBox,       "",                            3840,  540,   780,  300,   5},
    {"optMillimeters",       OptionButton,  "Millimeters",                 4800,  540,  1320,  300,   9},
    {"lblShimsFrom",         Label,         "Shims from",                  6240,  585,   900,  225, 300},
    {"txtShimsFrom",         TextBox,       "",                            7170,  540,   780,  300,  11},
    {"lblShimsTo",           Label,         "to",                          8040,  585,   210,  225, 300},
    {"txtShimsTo",           TextBox,       "",                            8280,  540,   780,  300,  12},
    {"lblShimStep",          Label,         "step",                        9150,  585,   390,  225, 300},
    {"txtShimStep",          TextBox,       "",                            9570,  540,   780,  300,  13},

    {"lblExhaustGap",        Label,         "Exhaust gap",                  120,  975,   930,  225, 300},
    {"lblExhaustFrom",       Label,         "from",                        1080,  975,   420,  225, 300},
    {"txtExhaustFrom",       TextBox,       "",                            1500,  930,   780,  300,   6},
    {"lblExhaustTo",         Label,         "to",                          2370,  975,   210,  225, 300},
    {"txtExhaustTo",         TextBox,       "",                            2610,  930,   780,  300,   7},
    {"lblExhaustAim",        Label,         "aim",                         3480,  975,   330,  225, 300},
    {"txtExhaustAim",        TextBox,       "",                            3840,  930,   780,  300,   8},
    {"optInches",            OptionButton,  "Inches",                      4800,  930,  1320,  300,  10},
    {"lblSpares",            Label,         "Spare shims",                 6240,  975,   900,  225, 300},
    {"txtSpares",            TextBox,       "",                            7170,  930,  3180,  300,  14},

    {"lblValveHeading",      Label,         "Valve",                        120, 1380,  1860,  225, 300, kBold},
    {"lblGapHeading",        Label,         "Gap",                         2010, 1380,   900,  225, 300, kBold},
    {"lblShimHeading",       Label,         "Shim",                        2970, 1380,   900,  225, 300, kBold},
    {"lblPlanHeading",       Label,         "Plan",                        3930, 1380,  4050,  225, 300, kBold},
    {"lblNewGapHeading",     Label,         "New gap",                     8040, 1380,  2310,  225, 300, kBold},

    {"lblBuy",               Label,         "Buy",                          120, 4215,   420,  225, 300},
    {"txtBuy",               TextBox,       "",                             570, 4170,  2850,  300, 200},
    {"lblLeftOver",          Label,         "Left over",                   3540, 4215,   750,  225, 300},
    {"txtLeftOver",          TextBox,       "",                            4320, 4170,  1770,  300, 201},
    {"cmdPlan",              CommandButton, "Plan",                        6210, 4140,   990,  360, 100},
    {"cmdCopy",              CommandButton, "Copy",                        7260, 4140,   990,  360, 101},
    {"cmdReset",             CommandButton, "Reset",                       8310, 4140,   990,  360, 102},
    {"cmdClose",             CommandButton, "Close",                       9360, 4140,   990,  360, 103},
};
// clang-format on

constexpr const char* kCaption = "Valve Sheet";

// The controls below the rows, which move with the last row: each by its design's offset
// from the summary's top.
constexpr std::string_view kBelowRows[] = {"lblBuy",  "txtBuy",  "lblLeftOver", "txtLeftOver",
                                           "cmdPlan", "cmdCopy", "cmdReset",    "cmdClose"};
constexpr std::size_t kDefaultRows = 8;

// The boxes of one row, left to right: name, left, width.
struct RowColumn {
    const char* prefix;
    int left;
    int width;
};
constexpr RowColumn kRowColumns[] = {
    {"txtGap", 2010, 900},
    {"txtShim", 2970, 900},
    {"txtPlan", 3930, 4050},
    {"txtNewGap", 8040, 2310},
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
            const std::string number = std::to_string(i + 1);
            const char* label = d.names.emplace_back("lblValve" + number).c_str();
            d.controls.push_back(
                {label, Label, "", 120, top + kLabelDrop, 1860, 225, 300, kRegular, shown});
            for (std::size_t c = 0; c < std::size(kRowColumns); ++c) {
                const RowColumn& column = kRowColumns[c];
                const char* name = d.names.emplace_back(column.prefix + number).c_str();
                const bool editable = c < 2;
                const int tab = editable ? 16 + int(2 * i + c) : 202 + int(2 * i + c);
                ControlDesign box{name,         TextBox,    "",  column.left, top,
                                  column.width, kRowHeight, tab, kRegular,    shown};
                box.readOnly = !editable;
                d.controls.push_back(box);
            }
        }
        for (ControlDesign& row : d.controls)
            if (row.name == std::string_view("txtBuy") ||
                row.name == std::string_view("txtLeftOver"))
                row.readOnly = true;
        d.window = runtime::WindowDesign{
            .name = "frmValveSheet",
            .caption = kCaption,
            .clientWidth = kClientWidth,
            .clientHeight = clientHeight(kDefaultRows),
            .controls = d.controls,
            .defaultButton = "cmdPlan",
            .cancelButton = "cmdClose",
        };
        return d;
    }();
    return design;
}

// The settings' defaults as the sheet shows them.
struct Setting {
    const char* box;
    const char* name; // what a screen reader and the sheet's boxes call it
    const char* initial;
};
constexpr Setting kSettings[] = {
    {"txtCylinders", "Cylinders", "2"},
    {"txtIntakeValves", "Intake valves per cylinder", "2"},
    {"txtExhaustValves", "Exhaust valves per cylinder", "2"},
    {"txtIntakeFrom", "Intake gap from", "0.15"},
    {"txtIntakeTo", "Intake gap to", "0.20"},
    {"txtIntakeAim", "Intake aim", "0.175"},
    {"txtExhaustFrom", "Exhaust gap from", "0.25"},
    {"txtExhaustTo", "Exhaust gap to", "0.30"},
    {"txtExhaustAim", "Exhaust aim", "0.275"},
    {"txtShimsFrom", "Shims from", "2.00"},
    {"txtShimsTo", "Shims to", "3.20"},
    {"txtShimStep", "Shim step", "0.025"},
    {"txtSpares", "Spare shims", ""},
};
// The settings that are gaps, written in the sheet's unit.
constexpr const char* kGapSettings[] = {"txtIntakeFrom",  "txtIntakeTo",  "txtIntakeAim",
                                        "txtExhaustFrom", "txtExhaustTo", "txtExhaustAim"};

const ControlDesign& fixedDesign(std::string_view name) {
    return *std::ranges::find_if(
        kFixedControls, [name](const ControlDesign& design) { return name == design.name; });
}

const char* nameOf(std::string_view box) {
    for (const Setting& setting : kSettings)
        if (box == setting.box)
            return setting.name;
    return "";
}

// A field the plan cannot be made from, and what the user is told of it.
struct BadField {
    runtime::TextBox box;
    std::string message;
};

std::string lowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = char(text[0] - 'A' + 'a');
    return text;
}

// A length typed into a box: missing, not a number, below zero and too large are refused.
Nanometres readLength(const runtime::TextBox& box, const std::string& name, GapUnit unit) {
    const std::string text = box.text();
    if (text.find_first_not_of(" \t") == std::string::npos)
        throw BadField{box, name + " is missing"};
    const std::optional<double> value = parseMeasurement(text);
    if (!value)
        throw BadField{box, name + " is not a number"};
    if (*value < 0)
        throw BadField{box, name + " is below zero"};
    const std::optional<Nanometres> length = lengthOf(*value, unit);
    if (!length)
        throw BadField{box, name + " is too large"};
    return *length;
}

// A count typed into a box, when it is a whole number from 1 to `most`.
std::optional<int> countIn(const runtime::TextBox& box, int most) {
    const std::optional<double> value = parseMeasurement(box.text());
    if (!value || *value < 1 || *value > most || *value != std::floor(*value))
        return std::nullopt;
    return int(*value);
}

// "2 × 2.525, 1 × 2.550": sizes with their counts, in the order given (smallest first).
std::string countedSizes(const std::vector<Nanometres>& sizes) {
    std::string text;
    for (std::size_t i = 0; i < sizes.size();) {
        std::size_t same = i;
        while (same < sizes.size() && sizes[same] == sizes[i])
            ++same;
        text += (text.empty() ? "" : ", ") + std::to_string(same - i) + " \u00d7 " +
                formatLength(sizes[i], GapUnit::Millimetres);
        i = same;
    }
    return text.empty() ? "nothing" : text;
}

std::string listedSizes(const std::vector<Nanometres>& sizes) {
    std::string text;
    for (const Nanometres size : sizes)
        text += (text.empty() ? "" : ", ") + formatLength(size, GapUnit::Millimetres);
    return text.empty() ? "nothing" : text;
}

} // namespace

std::string frmValveSheet::ValveName::text() const {
    return "Cylinder " + std::to_string(cylinder) +
           (kind == ValveKind::Intake ? " intake " : " exhaust ") + std::to_string(index);
}

frmValveSheet::frmValveSheet() : Form(sheetDesign().window) {
    for (const Setting& setting : kSettings)
        setAccessibleName(control<runtime::TextBox>(setting.box), setting.name);
    nameFromLabel(txtBuy, control<runtime::Label>("lblBuy"));
    nameFromLabel(txtLeftOver, control<runtime::Label>("lblLeftOver"));
    for (std::size_t i = 1; i <= kMostValves; ++i) {
        const std::string n = std::to_string(i);
        rows_.push_back(
            {control<runtime::Label>("lblValve" + n), control<runtime::TextBox>("txtGap" + n),
             control<runtime::TextBox>("txtShim" + n), control<runtime::TextBox>("txtPlan" + n),
             control<runtime::TextBox>("txtNewGap" + n)});
    }
    onClick(control<runtime::CommandButton>("cmdPlan"), &frmValveSheet::cmdPlan_Click);
    onClick(control<runtime::CommandButton>("cmdCopy"), &frmValveSheet::cmdCopy_Click);
    onClick(control<runtime::CommandButton>("cmdReset"), &frmValveSheet::cmdReset_Click);
    onClick(control<runtime::CommandButton>("cmdClose"), &frmValveSheet::cmdClose_Click);
    onClick(optMillimeters, &frmValveSheet::optMillimeters_Click);
    onClick(optInches, &frmValveSheet::optInches_Click);
    for (const runtime::TextBox& count : {txtCylinders, txtIntakeValves, txtExhaustValves})
        onChange(count, &frmValveSheet::txtCounts_Change);
    for (const runtime::Control& control : controls())
        if (std::ranges::find(kBelowRows, control.name()) != std::end(kBelowRows))
            belowRows_.emplace_back(control, &fixedDesign(control.name()));
}

void frmValveSheet::Form_Load() {
    setDefaults();
}

void frmValveSheet::setDefaults() {
    for (const Setting& setting : kSettings)
        control<runtime::TextBox>(setting.box).setText(setting.initial);
    optMillimeters.setValue(true);
    optInches.setValue(false);
    unit_ = GapUnit::Millimetres;
    chkLeaveInRangeAlone.setValue(true);
    for (const Row& row : rows_) {
        row.gap.setText("");
        row.shim.setText("");
    }
    valves_.clear();
    showRows(*valvesTyped());
}

std::optional<std::vector<frmValveSheet::ValveName>> frmValveSheet::valvesTyped() const {
    const auto cylinders = countIn(txtCylinders, kMostCylinders);
    const auto intake = countIn(txtIntakeValves, kMostValvesPerCylinder);
    const auto exhaust = countIn(txtExhaustValves, kMostValvesPerCylinder);
    if (!cylinders || !intake || !exhaust ||
        std::size_t(*cylinders) * std::size_t(*intake + *exhaust) > kMostValves)
        return std::nullopt;
    std::vector<ValveName> valves;
    for (int c = 1; c <= *cylinders; ++c) {
        for (int i = 1; i <= *intake; ++i)
            valves.push_back({c, ValveKind::Intake, i});
        for (int e = 1; e <= *exhaust; ++e)
            valves.push_back({c, ValveKind::Exhaust, e});
    }
    return valves;
}

void frmValveSheet::txtCounts_Change() {
    const auto valves = valvesTyped();
    if (!valves)
        return; // the rows stay until the counts are valid again
    if (*valves != valves_)
        showRows(*valves);
}

void frmValveSheet::showRows(const std::vector<ValveName>& valves) {
    // What the valves that remain hold moves with them to their new rows.
    std::map<std::string, std::pair<std::string, std::string>> typed;
    for (std::size_t i = 0; i < valves_.size(); ++i)
        typed[valves_[i].text()] = {rows_[i].gap.text(), rows_[i].shim.text()};
    clearPlan();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        const bool shown = i < valves.size();
        const std::string name = shown ? valves[i].text() : "";
        const auto kept = typed.find(name);
        row.name.setCaption(name);
        row.gap.setText(kept != typed.end() ? kept->second.first : "");
        row.shim.setText(kept != typed.end() ? kept->second.second : "");
        if (shown) {
            setAccessibleName(row.gap, name + " gap");
            setAccessibleName(row.shim, name + " shim");
            setAccessibleName(row.plan, name + " plan");
            setAccessibleName(row.newGap, name + " new gap");
        }
        for (const runtime::Control& control : std::initializer_list<runtime::Control>{
                 row.name, row.gap, row.shim, row.plan, row.newGap})
            control.setVisible(shown);
    }
    valves_ = valves;

    const int shift = summaryTop(valves.size()) - summaryTop(kDefaultRows);
    for (const auto& [control, design] : belowRows_)
        control.move(design->left, design->top + shift);
    setClientHeight(clientHeight(valves.size()));
}

void frmValveSheet::clearPlan() {
    plan_.reset();
    for (const Row& row : rows_) {
        row.plan.setText("");
        row.newGap.setText("");
    }
    txtBuy.setText("");
    txtLeftOver.setText("");
}

void frmValveSheet::cmdPlan_Click() {
    clearPlan();
    const GapUnit gaps = unit_;
    SheetInput input;
    try {
        const auto count = [this](const char* box, int most) {
            const auto field = control<runtime::TextBox>(box);
            if (!countIn(field, most))
                throw BadField{field, std::string(nameOf(box)) +
                                          " must be a whole number from 1 to " +
                                          std::to_string(most)};
        };
        count("txtCylinders", kMostCylinders);
        count("txtIntakeValves", kMostValvesPerCylinder);
        count("txtExhaustValves", kMostValvesPerCylinder);
        if (!valvesTyped())
            throw BadField{txtCylinders,
                           "The engine has more than " + std::to_string(kMostValves) + " valves"};
        // Counts set without typing (a screen reader sets a box's text whole) raise no change.
        txtCounts_Change();

        const auto length = [this](const char* box, GapUnit unit) {
            return readLength(control<runtime::TextBox>(box), nameOf(box), unit);
        };
        input.intake = {length("txtIntakeFrom", gaps), length("txtIntakeTo", gaps),
                        length("txtIntakeAim", gaps)};
        input.exhaust = {length("txtExhaustFrom", gaps), length("txtExhaustTo", gaps),
                         length("txtExhaustAim", gaps)};
        input.catalogue = {length("txtShimsFrom", GapUnit::Millimetres),
                           length("txtShimsTo", GapUnit::Millimetres),
                           length("txtShimStep", GapUnit::Millimetres)};
        const SpareList spares = parseSpares(txtSpares.text());
        if (spares.badItem)
            throw BadField{txtSpares, "Spare shims: " + *spares.badItem + " is not a shim size"};
        input.spares = spares.sizes;
        input.leaveInRangeAlone = chkLeaveInRangeAlone.value();
        for (std::size_t i = 0; i < valves_.size(); ++i) {
            const std::string name = valves_[i].text();
            const Nanometres gap = readLength(rows_[i].gap, name + " gap", gaps);
            const Nanometres shim = readLength(rows_[i].shim, name + " shim", GapUnit::Millimetres);
            input.valves.push_back({valves_[i].kind, gap, shim});
        }

        const auto result = planSheet(input);
        if (const SheetFault* fault = std::get_if<SheetFault>(&result)) {
            const auto box = [this](const char* name) {
                return control<runtime::TextBox>(name);
            };
            switch (*fault) {
            case SheetFault::IntakeRangeReversed:
                throw BadField{box("txtIntakeFrom"), "Intake gap from is above Intake gap to"};
            case SheetFault::ExhaustRangeReversed:
                throw BadField{box("txtExhaustFrom"), "Exhaust gap from is above Exhaust gap to"};
            case SheetFault::IntakeAimOutside:
                throw BadField{box("txtIntakeAim"), "Intake aim is outside the intake gap range"};
            case SheetFault::ExhaustAimOutside:
                throw BadField{box("txtExhaustAim"),
                               "Exhaust aim is outside the exhaust gap range"};
            case SheetFault::StepNotPositive:
                throw BadField{box("txtShimStep"), "Shim step is not positive"};
            case SheetFault::ShimsReversed:
                throw BadField{box("txtShimsFrom"), "Shims from is above Shims to"};
            case SheetFault::TooManySizes:
                throw BadField{box("txtShimStep"),
                               "Shims from, to and step make more than 2,000 sizes"};
            case SheetFault::TooManySpares:
                throw BadField{txtSpares, "Spare shims lists more than 2,000 sizes"};
            case SheetFault::TooManyValves:
                throw BadField{txtCylinders, "The engine has more than 24 valves"};
            case SheetFault::LengthTooLong:
                throw BadField{txtCylinders, "A size on the sheet is too large"};
            }
        }
        plan_ = std::get<SheetPlan>(result);
    } catch (const BadField& bad) {
        runtime::msgBox(bad.message, runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation,
                        kCaption, [box = bad.box](runtime::MsgAnswer) { box.setFocus(); });
        return;
    }
    showPlan();
}

void frmValveSheet::showPlan() {
    if (!plan_)
        return;
    for (std::size_t i = 0; i < plan_->valves.size() && i < rows_.size(); ++i) {
        const ValvePlan& valve = plan_->valves[i];
        const std::string size = formatLength(valve.shim, GapUnit::Millimetres);
        std::string text;
        switch (valve.source) {
        case ShimSource::Keep:
            text = "keep";
            break;
        case ShimSource::Removed:
            text = "fit " + size + " from " + lowerFirst(valves_[valve.from].text());
            break;
        case ShimSource::Spare:
            text = "fit " + size + " spare";
            break;
        case ShimSource::Bought:
            text = "buy " + size;
            break;
        }
        rows_[i].plan.setText(text);
        rows_[i].newGap.setText(formatLength(valve.newGap, unit_) +
                                (valve.inRange ? "" : " out of range"));
    }
    txtBuy.setText(countedSizes(plan_->bought));
    txtLeftOver.setText(listedSizes(plan_->leftOver));
}

void frmValveSheet::optMillimeters_Click() {
    switchUnit(GapUnit::Millimetres);
}

void frmValveSheet::optInches_Click() {
    switchUnit(GapUnit::Inches);
}

void frmValveSheet::switchUnit(GapUnit unit) {
    if (unit == unit_)
        return;
    // Every gap typed is written again in the other unit; a text that is no number stays.
    const auto convert = [this, unit](const runtime::TextBox& box) {
        const std::optional<double> value = parseMeasurement(box.text());
        const std::optional<Nanometres> length = value ? lengthOf(*value, unit_) : std::nullopt;
        if (length)
            box.setText(formatLength(*length, unit));
    };
    for (const char* box : kGapSettings)
        convert(control<runtime::TextBox>(box));
    for (std::size_t i = 0; i < valves_.size(); ++i)
        convert(rows_[i].gap);
    unit_ = unit;
    showPlan();
}

void frmValveSheet::cmdCopy_Click() {
    std::string text = "Valve\tGap\tShim\tPlan\tNew gap\n";
    for (std::size_t i = 0; i < valves_.size(); ++i) {
        const Row& row = rows_[i];
        text += valves_[i].text() + "\t" + row.gap.text() + "\t" + row.shim.text() + "\t" +
                row.plan.text() + "\t" + row.newGap.text() + "\n";
    }
    text += "Buy\t" + txtBuy.text() + "\nLeft over\t" + txtLeftOver.text() + "\n";
    runtime::setClipboardText(text, [](bool copied) {
        if (!copied)
            runtime::msgBox("The sheet could not be copied: another program is holding the "
                            "clipboard. Nothing was copied; please try again.",
                            runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation, kCaption);
    });
}

void frmValveSheet::cmdReset_Click() {
    setDefaults();
}

void frmValveSheet::cmdClose_Click() {
    runtime::forms().unload(*this);
}

} // namespace clearmark
