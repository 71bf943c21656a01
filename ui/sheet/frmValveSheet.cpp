#include "sheet/frmValveSheet.h"

#include "core/measurement.h"
#include "runtime/clipboard.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"
#include "sheet/frmValveSheet_design.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <utility>
#include <variant>

namespace clearmark {
namespace {

using sheet::kSettings;
using sheet::rowControl;
using sheet::RowPart;

// The settings that are gaps, written in the sheet's unit.
constexpr const char* kGapSettings[] = {"txtIntakeFrom",  "txtIntakeTo",  "txtIntakeAim",
                                        "txtExhaustFrom", "txtExhaustTo", "txtExhaustAim"};

std::string lowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = char(text[0] - 'A' + 'a');
    return text;
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

// The valves out of range after the plan, each with its new gap: why, and what to look at.
std::string outOfRangeMessage(const std::vector<std::string>& valves) {
    if (valves.size() == 1)
        return "No shim size brings " + valves[0] +
               " into range; the valve or its seat needs looking at.";
    std::string text =
        "No shim size brings these valves into range; each valve or its seat needs looking at:";
    for (const std::string& valve : valves)
        text += "\n" + valve;
    return text;
}

} // namespace

frmValveSheet::frmValveSheet() : Form(sheet::windowDesign()) {
    for (const sheet::Setting& setting : kSettings)
        setAccessibleName(control<runtime::TextBox>(setting.box), setting.name);
    nameFromLabel(txtBuy, control<runtime::Label>("lblBuy"));
    nameFromLabel(txtLeftOver, control<runtime::Label>("lblLeftOver"));
    for (std::size_t i = 0; i < kMostValves; ++i)
        rows_.push_back({control<runtime::Label>(rowControl(RowPart::Name, i)),
                         control<runtime::TextBox>(rowControl(RowPart::Gap, i)),
                         control<runtime::TextBox>(rowControl(RowPart::Shim, i)),
                         control<runtime::TextBox>(rowControl(RowPart::Plan, i)),
                         control<runtime::TextBox>(rowControl(RowPart::NewGap, i))});
    onClick(control<runtime::CommandButton>("cmdPlan"), &frmValveSheet::cmdPlan_Click);
    onClick(control<runtime::CommandButton>("cmdCopy"), &frmValveSheet::cmdCopy_Click);
    onClick(control<runtime::CommandButton>("cmdReset"), &frmValveSheet::cmdReset_Click);
    onClick(control<runtime::CommandButton>("cmdClose"), &frmValveSheet::cmdClose_Click);
    onClick(optMillimeters, &frmValveSheet::optMillimeters_Click);
    onClick(optInches, &frmValveSheet::optInches_Click);
    for (const runtime::TextBox& count : {txtCylinders, txtIntakeValves, txtExhaustValves})
        onChange(count, &frmValveSheet::txtCounts_Change);
    for (const runtime::Control& control : controls())
        if (std::ranges::find(sheet::kBelowRows, control.name()) != std::end(sheet::kBelowRows))
            belowRows_.emplace_back(control, &sheet::fixedDesign(control.name()));
}

void frmValveSheet::Form_Load() {
    setDefaults();
}

void frmValveSheet::setDefaults() {
    for (const sheet::Setting& setting : kSettings)
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
    showRows(*sheet::valvesOf(texts()));
}

sheet::SheetTexts frmValveSheet::texts() const {
    sheet::SheetTexts texts;
    for (const sheet::Setting& setting : kSettings)
        texts.*setting.text = control<runtime::TextBox>(setting.box).text();
    texts.leaveInRangeAlone = chkLeaveInRangeAlone.value();
    texts.unit = unit_;
    for (std::size_t i = 0; i < valves_.size(); ++i)
        texts.rows.push_back({rows_[i].gap.text(), rows_[i].shim.text()});
    return texts;
}

void frmValveSheet::txtCounts_Change() {
    const auto valves = sheet::valvesOf(texts());
    if (!valves)
        return; // the rows stay until the counts are valid again
    if (*valves != valves_)
        showRows(*valves);
}

void frmValveSheet::showRows(const std::vector<sheet::ValveName>& valves) {
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

    const int shift = sheet::summaryTop(valves.size()) - sheet::summaryTop(sheet::kDefaultRows);
    for (const auto& [control, design] : belowRows_)
        control.move(design->left, design->top + shift);
    setClientHeight(sheet::clientHeight(valves.size()));
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
    const auto read = sheet::readSheet(texts());
    if (const auto* bad = std::get_if<sheet::BadField>(&read)) {
        refuse(*bad);
        return;
    }
    // The reader refuses every input the planner would.
    plan_ = std::get<SheetPlan>(planSheet(std::get<SheetInput>(read)));
    showPlan();
    warnOutOfRange();
}

void frmValveSheet::warnOutOfRange() {
    std::vector<std::string> valves;
    for (std::size_t i = 0; i < plan_->valves.size() && i < valves_.size(); ++i)
        if (!plan_->valves[i].inRange)
            valves.push_back(valves_[i].text() + " (new gap " +
                             formatLength(plan_->valves[i].newGap, unit_) + ")");
    if (!valves.empty())
        say(outOfRangeMessage(valves));
}

void frmValveSheet::say(const std::string& text, runtime::MsgThen then) {
    runtime::msgBox(text, runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation, sheet::kCaption,
                    std::move(then));
}

void frmValveSheet::refuse(const sheet::BadField& bad) {
    // The field takes the focus once the box has been read.
    say(bad.message,
        [box = control<runtime::TextBox>(bad.box)](runtime::MsgAnswer) { box.setFocus(); });
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
    runtime::setClipboardText(text, [this](bool copied) {
        if (!copied)
            say("The sheet could not be copied: another program is holding the clipboard. "
                "Nothing was copied; please try again.");
    });
}

void frmValveSheet::cmdReset_Click() {
    setDefaults();
}

void frmValveSheet::cmdClose_Click() {
    runtime::forms().unload(*this);
}

} // namespace clearmark
