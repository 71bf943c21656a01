#include "sheet/frmValveSheet.h"

#include "core/measurement.h"
#include "runtime/clipboard.h"
#include "runtime/filedialog.h"
#include "runtime/forms.h"
#include "runtime/msgbox.h"
#include "runtime/platform/storage.h"
#include "runtime/print.h"
#include "sheet/frmShimBox.h"
#include "sheet/frmValveSheet_design.h"
#include "sheet/shim_box.h"

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

// The job's file as the dialogs offer it.
runtime::FileDialogRequest jobDialog(runtime::FileDialogKind kind, std::string title,
                                     std::string suggestedName = {}) {
    return {kind, std::move(title), "Clearmark jobs", "clearmark", std::move(suggestedName)};
}

// "Bonneville T100 2026-12-09.clearmark": the bike and the date, without the characters no
// file name may hold.
std::string suggestedFileName(const std::string& bike, const std::string& date) {
    std::string name;
    std::string typed = bike;
    typed += " ";
    typed += date;
    for (const char c : typed) {
        const bool unfit = static_cast<unsigned char>(c) < 0x20 ||
                           std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        name += unfit ? '-' : c;
    }
    const auto first = name.find_first_not_of(" .-");
    name = first == std::string::npos ? std::string("job") : name.substr(first);
    return name + ".clearmark";
}

// Whether the text is a day of the calendar written yyyy-mm-dd.
bool isDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (const std::size_t digit : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[digit] < '0' || text[digit] > '9')
            return false;
    const auto number = [text](std::size_t from, std::size_t length) {
        int value = 0;
        for (std::size_t i = from; i < from + length; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
           day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// A new sheet's spare shims: what the shim box holds (a box file that could not be read is
// reported, once).
std::string sparesFromTheBox() {
    sheet::ShimBoxRead box = sheet::readShimBox();
    if (box.message)
        runtime::msgBox(*box.message, runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation,
                        sheet::kCaption);
    return std::move(box.text);
}

// The job in a file, or the words that say why the file gives none.
std::variant<sheet::Job, std::string> readJobFile(const std::string& path) {
    const std::string name = platform::fileNameOf(path);
    const auto bytes = platform::storage().read(path, sheet::kLargestJob);
    if (const auto* failure = std::get_if<platform::FileFailure>(&bytes))
        return name + " could not be opened: " + failure->reason + ".";
    auto read = sheet::readJob(std::get<std::string>(bytes));
    if (const auto* fault = std::get_if<sheet::JobFault>(&read))
        return name + " " + sheet::faultText(*fault) + ". The sheet was not changed.";
    return std::get<sheet::Job>(std::move(read));
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
    for (const runtime::TextBox& box : {txtBike, txtDate, txtOdometer})
        nameFromLabel(box, control<runtime::Label>("lbl" + box.name().substr(3)));
    onClick(control<runtime::CommandButton>("cmdPlan"), &frmValveSheet::cmdPlan_Click);
    onClick(cmdFitted, &frmValveSheet::cmdFitted_Click);
    onClick(chkLeaveInRangeAlone, &frmValveSheet::chkLeaveInRangeAlone_Click);
    const std::pair<const char*, void (frmValveSheet::*)()> menu[] = {
        {"mnuNew", &frmValveSheet::mnuNew_Click},
        {"mnuOpen", &frmValveSheet::mnuOpen_Click},
        {"mnuSave", &frmValveSheet::mnuSave_Click},
        {"mnuSaveAs", &frmValveSheet::mnuSaveAs_Click},
        {"mnuNextCheck", &frmValveSheet::mnuNextCheck_Click},
        {"mnuShimBox", &frmValveSheet::mnuShimBox_Click},
        {"mnuPrint", &frmValveSheet::mnuPrint_Click},
        {"mnuPrintBlank", &frmValveSheet::mnuPrintBlank_Click},
        {"mnuClose", &frmValveSheet::mnuClose_Click},
    };
    for (const auto& [entry, handler] : menu)
        onClick(control<runtime::MenuItem>(entry), handler);
    for (const runtime::TextBox& box : {txtBike, txtDate, txtOdometer})
        onChange(box, &frmValveSheet::txtAny_Change);
    // The counts have a handler of their own, which also shows their rows.
    for (const sheet::Setting& setting : kSettings)
        if (setting.text != &sheet::SheetTexts::cylinders &&
            setting.text != &sheet::SheetTexts::intakeValves &&
            setting.text != &sheet::SheetTexts::exhaustValves)
            onChange(control<runtime::TextBox>(setting.box), &frmValveSheet::txtAny_Change);
    for (const Row& row : rows_) {
        onChange(row.gap, &frmValveSheet::txtAny_Change);
        onChange(row.shim, &frmValveSheet::txtAny_Change);
    }
    onClick(control<runtime::CommandButton>("cmdCopy"), &frmValveSheet::cmdCopy_Click);
    onClick(control<runtime::CommandButton>("cmdReset"), &frmValveSheet::cmdReset_Click);
    onClick(control<runtime::CommandButton>("cmdClose"), &frmValveSheet::cmdClose_Click);
    onClick(optMillimeters, &frmValveSheet::optMillimeters_Click);
    onClick(optInches, &frmValveSheet::optInches_Click);
    for (const runtime::TextBox& count : {txtCylinders, txtIntakeValves, txtExhaustValves})
        onChange(count, &frmValveSheet::txtCounts_Change);
    for (const runtime::Control& control : controls())
        if (std::find(std::begin(sheet::kBelowRows), std::end(sheet::kBelowRows), control.name()) !=
            std::end(sheet::kBelowRows))
            belowRows_.emplace_back(control, &sheet::fixedDesign(control.name()));
}

void frmValveSheet::Form_Load() {
    startNewJob();
}

void frmValveSheet::startNewJob() {
    setDefaults();
    txtSpares.setText(sparesFromTheBox());
    txtBike.setText("");
    txtDate.setText(platform::storage().today());
    txtOdometer.setText("");
    path_.clear();
    fitted_.reset();
    setModifiedJob(false);
    showFitted();
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

sheet::Job frmValveSheet::job() const {
    return {txtBike.text(), txtDate.text(), txtOdometer.text(), texts(), plan_, fitted_};
}

void frmValveSheet::showJob(const sheet::Job& job) {
    for (const sheet::Setting& setting : kSettings)
        control<runtime::TextBox>(setting.box).setText(job.sheet.*setting.text);
    unit_ = job.sheet.unit;
    optMillimeters.setValue(unit_ == GapUnit::Millimetres);
    optInches.setValue(unit_ == GapUnit::Inches);
    chkLeaveInRangeAlone.setValue(job.sheet.leaveInRangeAlone);
    // Rows for the job's valves (none while its counts are not valid), each as typed.
    showRows(sheet::valvesOf(job.sheet).value_or(std::vector<sheet::ValveName>{}));
    for (std::size_t i = 0; i < valves_.size() && i < job.sheet.rows.size(); ++i) {
        rows_[i].gap.setText(job.sheet.rows[i].gap);
        rows_[i].shim.setText(job.sheet.rows[i].shim);
    }
    txtBike.setText(job.bike);
    txtDate.setText(job.date);
    txtOdometer.setText(job.odometer);
    // The reader refuses a plan that does not fit its sheet.
    plan_ = job.plan;
    showPlan();
    fitted_ = job.fitted;
    showFitted();
}

void frmValveSheet::edited() {
    // Typing stays cheap: only a plan on show is cleared, and the caption changes once.
    if (plan_)
        clearPlan();
    if (!modified_)
        setModifiedJob(true);
}

void frmValveSheet::setModifiedJob(bool modified) {
    modified_ = modified;
    showCaption();
    setModified(modified);
}

std::string frmValveSheet::jobName() const {
    return path_.empty() ? std::string(sheet::kCaption) : platform::fileNameOf(path_);
}

void frmValveSheet::showCaption() {
    // "[*]" is where the platform marks unsaved changes.
    setCaption(path_.empty() ? std::string(sheet::kCaption) + "[*]"
                             : jobName() + "[*] - " + sheet::kCaption);
}

void frmValveSheet::showFitted() {
    cmdFitted.setCaption(fitted_ ? "Fitted " + *fitted_ : "Fitted");
    cmdFitted.setEnabled(plan_.has_value() && !fitted_);
}

void frmValveSheet::txtAny_Change() {
    edited();
}

void frmValveSheet::chkLeaveInRangeAlone_Click() {
    edited();
}

void frmValveSheet::txtCounts_Change() {
    edited();
    const auto valves = sheet::valvesOf(texts());
    if (!valves)
        return; // the rows stay until the counts are valid again
    if (*valves != valves_)
        showRows(*valves);
}

void frmValveSheet::askToSave(std::function<void()> then) {
    if (!modified_) {
        then();
        return;
    }
    runtime::msgBox("Save changes to " + jobName() + "?", runtime::MsgButtons::YesNoCancel,
                    runtime::MsgIcon::Question, sheet::kCaption,
                    [this, then = std::move(then)](runtime::MsgAnswer answer) {
                        if (answer == runtime::MsgAnswer::Yes)
                            save(then);
                        else if (answer == runtime::MsgAnswer::No)
                            then();
                    });
}

void frmValveSheet::save(std::function<void()> then, std::function<void()> failed) {
    if (path_.empty())
        saveAs(std::move(then), std::move(failed));
    else if (writeTo(path_))
        then();
    else
        failed();
}

void frmValveSheet::saveAs(std::function<void()> then, std::function<void()> failed) {
    runtime::askFileName(
        jobDialog(runtime::FileDialogKind::Save, "Save Job",
                  path_.empty() ? suggestedFileName(txtBike.text(), txtDate.text()) : path_),
        [this, then = std::move(then),
         failed = std::move(failed)](const std::optional<std::string>& path) {
            if (path && writeTo(*path))
                then();
            else
                failed();
        });
}

bool frmValveSheet::writeTo(const std::string& path) {
    if (!isDate(txtDate.text())) {
        refuse({"txtDate", "Date: " + txtDate.text() +
                               " is not a date; type it as year-month-day, e.g. " +
                               platform::storage().today() + "."});
        return false;
    }
    if (const auto failure = platform::storage().write(path, sheet::writeJob(job()))) {
        say("The job was not saved to " + platform::fileNameOf(path) + ": " + failure->reason +
            ". Its changes are still on the sheet.");
        return false;
    }
    path_ = path;
    setModifiedJob(false);
    return true;
}

bool frmValveSheet::Form_QueryUnload() {
    if (!modified_)
        return true;
    closeJob();
    return false;
}

void frmValveSheet::closeJob() {
    askToSave([this] { runtime::forms().unload(*this); });
}

void frmValveSheet::openJob(const std::string& path) {
    auto read = readJobFile(path);
    if (const auto* problem = std::get_if<std::string>(&read)) {
        runtime::msgBox(*problem, runtime::MsgButtons::OK, runtime::MsgIcon::Exclamation,
                        sheet::kCaption);
        return;
    }
    auto& sheet = runtime::forms().show<frmValveSheet>();
    sheet.showJob(std::get<sheet::Job>(read));
    sheet.path_ = path;
    sheet.setModifiedJob(false);
}

void frmValveSheet::mnuNew_Click() {
    askToSave([this] { startNewJob(); });
}

void frmValveSheet::mnuOpen_Click() {
    askToSave([] {
        runtime::askFileName(jobDialog(runtime::FileDialogKind::Open, "Open Job"),
                             [](const std::optional<std::string>& path) {
                                 if (path)
                                     openJob(*path);
                             });
    });
}

void frmValveSheet::mnuSave_Click() {
    save([] {});
}

void frmValveSheet::mnuSaveAs_Click() {
    saveAs([] {});
}

void frmValveSheet::mnuNextCheck_Click() {
    if (!plan_) {
        say("Next Check starts from this job's plan: each valve keeps the shim the plan gives "
            "it. Press Plan first.");
        return;
    }
    askToSave([this, done = job()] {
        startNewJob();
        sheet::Job next;
        next.bike = done.bike;
        next.date = platform::storage().today();
        next.sheet = done.sheet;
        next.sheet.spares = sparesFromTheBox();
        for (std::size_t i = 0; i < next.sheet.rows.size() && i < done.plan->valves.size(); ++i)
            next.sheet.rows[i] = {"",
                                  formatLength(done.plan->valves[i].shim, GapUnit::Millimetres)};
        showJob(next);
        setModifiedJob(true);
    });
}

void frmValveSheet::mnuPrint_Click() {
    if (!plan_) {
        say("Print prints this job's plan, made from the sheet as it stands. Press Plan first, "
            "or choose Print Blank Sheet for a form to measure on.");
        return;
    }
    printJob(sheet::PageKind::Plan, valves_);
}

void frmValveSheet::mnuPrintBlank_Click() {
    const sheet::SheetTexts typed = texts();
    const auto valves = sheet::valvesOf(typed);
    if (!valves) {
        // The counts come first, so the reader names the count that stops it.
        const auto read = sheet::readSheet(typed);
        if (const auto* bad = std::get_if<sheet::BadField>(&read))
            refuse(*bad);
        return;
    }
    printJob(sheet::PageKind::Blank, *valves);
}

void frmValveSheet::printJob(sheet::PageKind kind, std::vector<sheet::ValveName> valves) {
    sheet::PrintedJob printed{job(), std::move(valves),
                              path_.empty() ? "" : platform::fileNameOf(path_),
                              platform::storage().today()};
    runtime::printPage(
        jobName(),
        [printed = std::move(printed), kind](const runtime::PageArea& area) {
            return sheet::jobPage(printed, kind, area);
        },
        [this](const runtime::PrintResult& result) {
            if (result.outcome == runtime::PrintOutcome::Failed)
                say("The job sheet was not printed: " + result.reason + ".");
        });
}

void frmValveSheet::mnuShimBox_Click() {
    runtime::forms().show<frmShimBox>();
}

void frmValveSheet::mnuClose_Click() {
    closeJob();
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
    showFitted();
}

void frmValveSheet::cmdPlan_Click() {
    clearPlan();
    edited();
    const auto read = sheet::readSheet(texts());
    if (const auto* bad = std::get_if<sheet::BadField>(&read)) {
        refuse(*bad);
        return;
    }
    // The reader refuses every input the planner would.
    plan_ = std::get<SheetPlan>(planSheet(std::get<SheetInput>(read)));
    showPlan();
    showFitted();
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
        rows_[i].plan.setText(sheet::planText(plan_->valves[i], valves_));
        rows_[i].newGap.setText(sheet::newGapText(plan_->valves[i], unit_));
    }
    txtBuy.setText(sheet::countedSizes(plan_->bought));
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
    edited();
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
    askToSave([this] { startNewJob(); });
}

void frmValveSheet::cmdClose_Click() {
    closeJob();
}

void frmValveSheet::cmdFitted_Click() {
    const auto read = sheet::readSheet(texts());
    if (!plan_ || fitted_ || !std::holds_alternative<SheetInput>(read))
        return; // the button is enabled only for a current plan
    // Done once: the job is saved with the day first, and only then is the box changed.
    fitted_ = platform::storage().today();
    save(
        [this, input = std::get<SheetInput>(read), plan = *plan_] {
            showFitted();
            updateShimBox(input, plan);
        },
        [this] {
            fitted_.reset();
            showFitted();
        });
    showFitted();
}

void frmValveSheet::updateShimBox(const SheetInput& input, const SheetPlan& plan) {
    // Read again now: another program may have changed the box since this sheet began.
    const sheet::ShimBoxRead box = sheet::readShimBox();
    const SpareList held = parseSpares(box.text);
    std::string text = box.message ? *box.message + "\n\n" : std::string();
    if (held.badItem) {
        say(text + "The shim box was not changed: " + *held.badItem + " in it is not a shim size.");
        return;
    }
    const sheet::BoxAfterFitting after = sheet::boxAfterFitting(held.sizes, input, plan);
    if (const auto failure = sheet::saveShimBox(sheet::shimsText(after.box)))
        say(text + *failure);
    else
        runtime::msgBox(text + sheet::fittingMessage(after), runtime::MsgButtons::OK,
                        runtime::MsgIcon::Information, sheet::kCaption);
}

} // namespace clearmark
