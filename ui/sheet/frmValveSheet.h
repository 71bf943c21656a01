#pragma once

#include "core/valve_sheet.h"
#include "runtime/form.h"
#include "runtime/msgbox.h"
#include "sheet/sheet_reader.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace clearmark {

// The valve sheet: every valve of the engine on one sheet, the measured gaps and fitted
// shims in, the best shim shuffle out, with what to buy and what is left over.
class frmValveSheet : public runtime::Form {
public:
    frmValveSheet();

    void cmdPlan_Click();
    void cmdCopy_Click();
    void cmdReset_Click();
    void cmdClose_Click();
    void optMillimeters_Click();
    void optInches_Click();
    // Any of the engine's counts typed.
    void txtCounts_Change();

protected:
    void Form_Load() override;

private:
    struct Row {
        runtime::Label name;
        runtime::TextBox gap;
        runtime::TextBox shim;
        runtime::TextBox plan;
        runtime::TextBox newGap;
    };
    // The texts the sheet holds now.
    sheet::SheetTexts texts() const;
    // Shows one row per valve, keeps what the remaining valves' rows hold, and fits the
    // window's height to them.
    void showRows(const std::vector<sheet::ValveName>& valves);
    void setDefaults();
    void clearPlan();
    void showPlan();
    // Names the valves the plan leaves out of range, if any.
    void warnOutOfRange();
    void switchUnit(GapUnit unit);
    // The sheet's boxes: one with that text, and one about a field that then takes the focus.
    void say(const std::string& text, runtime::MsgThen then = {});
    void refuse(const sheet::BadField& bad);

    runtime::TextBox txtCylinders = control<runtime::TextBox>("txtCylinders");
    runtime::TextBox txtIntakeValves = control<runtime::TextBox>("txtIntakeValves");
    runtime::TextBox txtExhaustValves = control<runtime::TextBox>("txtExhaustValves");
    runtime::OptionButton optMillimeters = control<runtime::OptionButton>("optMillimeters");
    runtime::OptionButton optInches = control<runtime::OptionButton>("optInches");
    runtime::TextBox txtSpares = control<runtime::TextBox>("txtSpares");
    runtime::CheckBox chkLeaveInRangeAlone = control<runtime::CheckBox>("chkLeaveInRangeAlone");
    runtime::TextBox txtBuy = control<runtime::TextBox>("txtBuy");
    runtime::TextBox txtLeftOver = control<runtime::TextBox>("txtLeftOver");
    std::vector<Row> rows_;
    // The summary and the buttons, which move with the last row, and their designs.
    std::vector<std::pair<runtime::Control, const runtime::ControlDesign*>> belowRows_;
    std::vector<sheet::ValveName> valves_; // the valves the rows show now
    GapUnit unit_ = GapUnit::Millimetres;
    // The plan on show, for writing its gaps again in the other unit.
    std::optional<SheetPlan> plan_;
};

} // namespace clearmark
