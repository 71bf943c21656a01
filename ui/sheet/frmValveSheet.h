#pragma once

#include "core/valve_sheet.h"
#include "runtime/form.h"
#include "runtime/msgbox.h"
#include "sheet/job.h"
#include "sheet/job_page.h"
#include "sheet/sheet_reader.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace clearmark {

// The valve sheet: every valve of the engine on one sheet, the measured gaps and fitted
// shims in, the best shim shuffle out, with what to buy and what is left over. The sheet is
// a job, kept in a file of its own from the measuring to the fitting and the next check.
class frmValveSheet : public runtime::Form {
public:
    frmValveSheet();

    void cmdPlan_Click();
    void cmdFitted_Click();
    void cmdCopy_Click();
    void cmdReset_Click();
    void cmdClose_Click();
    void optMillimeters_Click();
    void optInches_Click();
    void chkLeaveInRangeAlone_Click();
    // Any of the engine's counts typed.
    void txtCounts_Change();
    // Any other text the user edits.
    void txtAny_Change();
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuPrint_Click();
    void mnuPrintBlank_Click();
    void mnuNextCheck_Click();
    void mnuShimBox_Click();
    void mnuClose_Click();

    // Whether the job has changes not yet saved.
    bool modified() const { return modified_; }
    // Asks whether to save the unsaved changes, if any; `then` runs once they are saved or
    // given up, and not at all when the user cancels or the save does not complete.
    void askToSave(std::function<void()> then);
    // Opens the job file in the sheet, which shows it and becomes active; a file that is not
    // a job gets a box naming it and what is wrong, and no sheet appears when none was loaded.
    static void openJob(const std::string& path);

protected:
    void Form_Load() override;
    bool Form_QueryUnload() override;

private:
    struct Row {
        runtime::Label name;
        runtime::TextBox gap;
        runtime::TextBox shim;
        runtime::TextBox plan;
        runtime::TextBox newGap;
    };
    // The texts the sheet holds now, and the whole job.
    sheet::SheetTexts texts() const;
    sheet::Job job() const;
    // Shows the job as it was saved, its plan included.
    void showJob(const sheet::Job& job);
    // Starts a new job: the defaults, today's date, nothing saved yet.
    void startNewJob();
    // Any edit: the plan on show is stale, and the job has unsaved changes.
    void edited();
    void setModifiedJob(bool modified);
    void showCaption();
    void showFitted();
    // The job's name in the caption and in questions: its file's name, or "Valve Sheet".
    std::string jobName() const;
    // Saves under the job's file (asking for one when it has none) or a new one; `then` runs
    // once the job is saved, `failed` when it is not (the dialog cancelled, the write failed).
    void save(
        std::function<void()> then, std::function<void()> failed = [] {});
    void saveAs(
        std::function<void()> then, std::function<void()> failed = [] {});
    // Prints the job sheet, with its plan or blank, on the printer the user chooses.
    void printJob(sheet::PageKind kind, std::vector<sheet::ValveName> valves);
    // The shims fitted: the shim box gives up the spares the plan used and takes the shims no
    // valve took.
    void updateShimBox(const SheetInput& input, const SheetPlan& plan);
    bool writeTo(const std::string& path);
    // Unloads the sheet once its changes are saved or given up.
    void closeJob();
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

    runtime::TextBox txtBike = control<runtime::TextBox>("txtBike");
    runtime::TextBox txtDate = control<runtime::TextBox>("txtDate");
    runtime::TextBox txtOdometer = control<runtime::TextBox>("txtOdometer");
    runtime::CommandButton cmdFitted = control<runtime::CommandButton>("cmdFitted");
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
    // The plan on show, made from the inputs as they stand; any edit clears it.
    std::optional<SheetPlan> plan_;
    std::string path_; // the job's file; "" until it is saved
    bool modified_ = false;
    std::optional<std::string> fitted_; // when the plan's shims were fitted, yyyy-mm-dd
};

} // namespace clearmark
