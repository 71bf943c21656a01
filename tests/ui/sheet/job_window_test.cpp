// The valve sheet as a job the mechanic keeps: saved, closed and opened again as it was,
// questions before unsaved changes are lost, a save that fails, files that are no job, the
// stale plan an edit clears, Next Check, and a job given on the command line.
#include "sheet/frmShimBox.h"
#include "sheet/job.h"
#include "sheet/shim_box.h"
#include "ui/sheet/sheet_fixture.h"

#include <functional>
#include <string>
#include <vector>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgAnswer;
using runtime::MsgBoxRequest;
using runtime::MsgButtons;
using runtime::MsgIcon;
using testing_support::kTriumphTwin;
using testing_support::sheetBox;

constexpr const char* kJobPath = "/jobs/t100.clearmark";

MsgBoxRequest saveQuestion(const std::string& name) {
    return {"Save changes to " + name + "?", "Valve Sheet", MsgButtons::YesNoCancel,
            MsgIcon::Question};
}

class JobWindow : public testing_support::SheetFixture {
public:
    // The worked Triumph twin with its bike, date and odometer, planned.
    void enterPlannedJob() {
        put("txtBike", "Bonneville T100 reg AB12 CDE");
        put("txtDate", "2026-12-01");
        put("txtOdometer", "24,500 km");
        enterTriumphTwin();
        click(*sheet, "cmdPlan");
    }
    void saveAs(const std::string& path) {
        fileDialogs.answerNext(path);
        choose(*sheet, "mnuSaveAs");
    }
    // Every text the user sees on the sheet, by box.
    std::vector<std::pair<std::string, std::string>> everyText() const {
        std::vector<std::pair<std::string, std::string>> texts;
        for (const runtime::Control& control : sheet->controls())
            if (control.kind() == runtime::ControlKind::TextBox && control.visible())
                texts.emplace_back(control.name(), textBox(*sheet, control.name().c_str()).text());
        return texts;
    }
    bool fittedEnabled() const {
        return control<runtime::CommandButton>(*sheet, "cmdFitted").enabled();
    }
    void reopenSheet() {
        choose(*main, "mnuValveSheet");
        sheet = forms().find<frmValveSheet>();
        ASSERT_NE(sheet, nullptr);
    }
};

TEST_F(JobWindow, SavedClosedAndOpenedAgainShowsEveryTextAndThePlan) {
    enterPlannedJob();
    const auto before = everyText();
    ASSERT_EQ(text("txtPlan4"), "buy 2.525");
    EXPECT_TRUE(sheet->modified());
    saveAs(kJobPath);
    ASSERT_EQ(fileDialogs.asked.size(), 1u);
    EXPECT_EQ(fileDialogs.asked[0],
              (runtime::FileDialogRequest{runtime::FileDialogKind::Save, "Save Job",
                                          "Clearmark jobs", "clearmark",
                                          "Bonneville T100 reg AB12 CDE 2026-12-01.clearmark"}));
    ASSERT_TRUE(storage.files.contains(kJobPath));
    EXPECT_FALSE(sheet->modified());
    EXPECT_EQ(sheet->caption(), "t100.clearmark - Valve Sheet");
    click(*sheet, "cmdClose");
    EXPECT_TRUE(boxes.shown().empty()) << "nothing unsaved, nothing asked";
    ASSERT_EQ(forms().find<frmValveSheet>(), nullptr);

    reopenSheet();
    EXPECT_EQ(text("txtDate"), "2026-12-09") << "a new sheet starts today";
    fileDialogs.answerNext(kJobPath);
    choose(*sheet, "mnuOpen");
    EXPECT_EQ(fileDialogs.asked.back().kind, runtime::FileDialogKind::Open);
    EXPECT_EQ(everyText(), before);
    EXPECT_FALSE(sheet->modified());
    EXPECT_TRUE(fittedEnabled());
    EXPECT_EQ(sheet->caption(), "t100.clearmark - Valve Sheet");
    // Saved again unchanged, it writes the same bytes.
    const std::string saved = storage.files[kJobPath];
    choose(*sheet, "mnuSave");
    EXPECT_EQ(storage.files[kJobPath], saved);
}

TEST_F(JobWindow, AFailedSaveSaysSoKeepsTheOldFileAndTheChangesUnsaved) {
    enterPlannedJob();
    saveAs(kJobPath);
    const std::string old = storage.files[kJobPath];
    put("txtOdometer", "25,000 km");
    storage.failingWrites.insert(kJobPath);
    choose(*sheet, "mnuSave");
    EXPECT_EQ(boxes.shown(),
              std::vector<MsgBoxRequest>{
                  sheetBox("The job was not saved to t100.clearmark: No space left on device. Its "
                           "changes are still on the sheet.")});
    EXPECT_EQ(storage.files[kJobPath], old);
    EXPECT_TRUE(sheet->modified());
    EXPECT_EQ(text("txtOdometer"), "25,000 km");
}

TEST_F(JobWindow, SavingRefusesADateThatIsNoDay) {
    for (const char* date : {"2026-02-29", "2026-13-01", "9.12.2026", "2026-1-09", ""}) {
        put("txtDate", date);
        boxes.clear();
        saveAs(kJobPath);
        ASSERT_EQ(boxes.shown().size(), 1u) << date;
        EXPECT_EQ(boxes.shown()[0].text, "Date: " + std::string(date) +
                                             " is not a date; type it as year-month-day, e.g. "
                                             "2026-12-09.");
        EXPECT_EQ(focused(*sheet), "txtDate");
        EXPECT_FALSE(storage.files.contains(kJobPath)) << date;
    }
    put("txtDate", "2024-02-29");
    saveAs(kJobPath);
    EXPECT_TRUE(storage.files.contains(kJobPath));
}

// Each way of leaving the job asks; Cancel, and Yes with the Save As cancelled, leave
// everything as it was; No goes on; Yes saves first.
TEST_F(JobWindow, EveryWayOfLeavingUnsavedChangesAsks) {
    struct Case {
        const char* how;
        std::function<void(frmValveSheet&, runtime::Form&)> act;
        bool closes; // the sheet goes (else it shows a fresh job)
    };
    const Case cases[] = {
        {"New", [](frmValveSheet& s, runtime::Form&) { choose(s, "mnuNew"); }, false},
        {"Reset", [](frmValveSheet& s, runtime::Form&) { click(s, "cmdReset"); }, false},
        {"Next Check", [](frmValveSheet& s, runtime::Form&) { choose(s, "mnuNextCheck"); }, false},
        {"Close", [](frmValveSheet& s, runtime::Form&) { click(s, "cmdClose"); }, true},
        {"File Close", [](frmValveSheet& s, runtime::Form&) { choose(s, "mnuClose"); }, true},
        {"Esc", [](frmValveSheet& s, runtime::Form&) { press(s, testing_support::Key::Escape); },
         true},
        {"title bar", [](frmValveSheet& s, runtime::Form&) { input().close(s); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        enterPlannedJob();
        for (const MsgAnswer answer : {MsgAnswer::Cancel, MsgAnswer::Yes}) {
            boxes.clear();
            boxes.answerNext(answer); // Yes: the Save As that follows is cancelled
            c.act(*sheet, *main);
            input().settle();
            EXPECT_EQ(boxes.shown(), std::vector<MsgBoxRequest>{saveQuestion("Valve Sheet")});
            ASSERT_EQ(forms().find<frmValveSheet>(), sheet);
            EXPECT_EQ(text("txtOdometer"), "24,500 km");
            EXPECT_EQ(text("txtPlan4"), "buy 2.525");
            EXPECT_TRUE(sheet->modified());
        }
        boxes.answerNext(MsgAnswer::Yes);
        fileDialogs.answerNext(kJobPath);
        c.act(*sheet, *main);
        input().settle();
        EXPECT_TRUE(storage.files.contains(kJobPath)) << "Yes saves first";
        storage.files.clear();
        if (c.closes) {
            EXPECT_EQ(forms().find<frmValveSheet>(), nullptr);
            reopenSheet();
        } else {
            EXPECT_EQ(text("txtOdometer"), "");
            EXPECT_EQ(sheet->caption(), "Valve Sheet");
        }
        // No: given up, without a file.
        enterPlannedJob();
        boxes.answerNext(MsgAnswer::No);
        c.act(*sheet, *main);
        input().settle();
        EXPECT_TRUE(storage.files.empty());
        if (c.closes)
            reopenSheet();
        else
            EXPECT_EQ(text("txtOdometer"), "");
        if (sheet->modified()) { // Next Check's sheet is new and unsaved: given up too
            boxes.answerNext(MsgAnswer::No);
            choose(*sheet, "mnuNew");
        }
    }
}

TEST_F(JobWindow, TheProgramEndsOnlyOnceTheJobIsSavedOrGivenUp) {
    struct Case {
        const char* how;
        void (*end)(const runtime::Form& main);
        std::vector<MsgAnswer> answers; // Exit's OK first
    };
    const Case cases[] = {
        {"Exit", [](const runtime::Form& m) { click(m, "cmdExit"); }, {MsgAnswer::OK}},
        {"close button", [](const runtime::Form& m) { input().close(m); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        put("txtOdometer", "24,500 km");
        for (const MsgAnswer answer : {MsgAnswer::Cancel, MsgAnswer::Yes}) {
            for (const MsgAnswer first : c.answers)
                boxes.answerNext(first);
            boxes.answerNext(answer);
            c.end(*main);
            input().settle();
            EXPECT_EQ(programEnds, 0);
            EXPECT_TRUE(main->visible());
            ASSERT_NE(forms().find<frmValveSheet>(), nullptr);
        }
        EXPECT_EQ(boxes.shown().back(), saveQuestion("Valve Sheet"));
        for (const MsgAnswer first : c.answers)
            boxes.answerNext(first);
        boxes.answerNext(MsgAnswer::No);
        c.end(*main);
        input().settle();
        EXPECT_EQ(programEnds, 1);
        programEnds = 0;
        main = &start();
        reopenSheet();
    }
}

TEST_F(JobWindow, AFileThatIsNoJobIsNamedAndTheSheetStaysAsItWas) {
    sheet::Job job;
    job.sheet.cylinders = "1";
    const std::string good = sheet::writeJob(job);
    std::string newer = good;
    newer.replace(newer.find("\"version\": 1"), 12, "\"version\": 2");
    struct Case {
        std::string bytes;
        const char* says;
    };
    const Case cases[] = {
        {"{\"hello\": 1}\n", "t100.clearmark is not a Clearmark job."},
        {good.substr(0, good.size() / 2), "t100.clearmark is damaged."},
        {newer, "t100.clearmark was written by a newer version of Clearmark."},
        {std::string(sheet::kLargestJob + 1, ' '), "t100.clearmark is larger than 1 MiB."},
    };
    put("txtOdometer", "24,500 km");
    for (const Case& c : cases) {
        storage.files[kJobPath] = c.bytes;
        boxes.clear();
        boxes.answerNext(MsgAnswer::No); // the unsaved odometer is given up
        fileDialogs.answerNext(kJobPath);
        choose(*sheet, "mnuOpen");
        ASSERT_EQ(boxes.shown().size(), 2u) << c.says;
        EXPECT_EQ(boxes.shown()[1], sheetBox(std::string(c.says) + " The sheet was not changed."));
        EXPECT_EQ(text("txtOdometer"), "24,500 km");
    }
    storage.files.clear();
    frmValveSheet::openJob(kJobPath);
    EXPECT_EQ(boxes.shown().back().text,
              "t100.clearmark could not be opened: No such file or directory.");
}

TEST_F(JobWindow, AnyEditClearsThePlanAndFittedWaitsForANewOne) {
    const std::vector<std::pair<const char*, std::function<void(JobWindow&)>>> edits = {
        {"gap",
         [](JobWindow& t) {
             t.put("txtGap2", "0.19");
         }},
        {"shim",
         [](JobWindow& t) {
             t.put("txtShim2", "2.525");
         }},
        {"range",
         [](JobWindow& t) {
             t.put("txtIntakeTo", "0.21");
         }},
        {"aim",
         [](JobWindow& t) {
             t.put("txtExhaustAim", "0.28");
         }},
        {"shim sizes",
         [](JobWindow& t) {
             t.put("txtShimStep", "0.05");
         }},
        {"spares",
         [](JobWindow& t) {
             t.put("txtSpares", "2.475 2.5");
         }},
        {"unit",
         [](JobWindow& t) {
             select(*t.sheet, "optInches");
         }},
        {"check box",
         [](JobWindow& t) {
             input().click(control<runtime::CheckBox>(*t.sheet, "chkLeaveInRangeAlone"));
         }},
        {"counts",
         [](JobWindow& t) {
             t.put("txtCylinders", "3");
         }},
    };
    for (const auto& [what, edit] : edits) {
        SCOPED_TRACE(what);
        enterPlannedJob();
        ASSERT_TRUE(fittedEnabled());
        edit(*this);
        EXPECT_EQ(text("txtPlan1"), "");
        EXPECT_EQ(text("txtBuy"), "");
        EXPECT_FALSE(fittedEnabled());
        boxes.answerNext(MsgAnswer::No);
        choose(*sheet, "mnuNew");
    }
}

TEST_F(JobWindow, NextCheckStartsFromTheShimsThePlanLeavesInTheEngine) {
    enterPlannedJob();
    saveAs(kJobPath);
    choose(*sheet, "mnuNextCheck");
    EXPECT_TRUE(boxes.shown().empty()) << "the job was saved: nothing to ask";
    EXPECT_EQ(column("txtShim"), (std::vector<std::string>{"2.375", "2.500", "2.450", "2.525",
                                                           "2.450", "2.600", "2.400", "2.425"}));
    EXPECT_EQ(column("txtGap"), std::vector<std::string>(8, ""));
    EXPECT_EQ(text("txtBike"), "Bonneville T100 reg AB12 CDE");
    EXPECT_EQ(text("txtDate"), "2026-12-09");
    EXPECT_EQ(text("txtOdometer"), "");
    EXPECT_EQ(text("txtIntakeAim"), "0.175");
    EXPECT_EQ(sheet->caption(), "Valve Sheet");
    EXPECT_TRUE(sheet->modified());
    EXPECT_EQ(storage.files.size(), 1u) << "the job itself is untouched";
}

TEST_F(JobWindow, NextCheckWantsAPlan) {
    choose(*sheet, "mnuNextCheck");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Valve Sheet");
    EXPECT_EQ(text("txtShim1"), "");
}

TEST_F(JobWindow, AJobGivenOnTheCommandLineOpensInTheSheet) {
    enterPlannedJob();
    saveAs(kJobPath);
    const auto texts = everyText();
    click(*sheet, "cmdClose");
    frmValveSheet::openJob(kJobPath);
    input().settle();
    sheet = forms().find<frmValveSheet>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->visible());
    EXPECT_TRUE(input().isActive(*sheet));
    EXPECT_EQ(everyText(), texts);
    click(*sheet, "cmdClose");
    frmValveSheet::openJob("/jobs/missing.clearmark");
    EXPECT_EQ(forms().find<frmValveSheet>(), nullptr) << "a bad file gets a box and no sheet";
}

TEST_F(JobWindow, FittedSavesTheJobOnceThenChangesTheShimBox) {
    const std::string boxFile = platform::pathIn("/data/clearmark", sheet::kShimBoxFile);
    storage.files[boxFile] = sheet::writeShimBoxBytes("2.600 2.475");
    click(*sheet, "cmdReset"); // a new sheet takes its spares from the box
    EXPECT_EQ(text("txtSpares"), "2.600 2.475");
    enterPlannedJob(); // its spares: 2.475 alone, which the plan leaves over
    const auto fitted = control<runtime::CommandButton>(*sheet, "cmdFitted");

    // Not saved (Save As cancelled, then a write that fails): nothing is fitted.
    boxes.clear();
    click(*sheet, "cmdFitted");
    storage.failingWrites.insert(kJobPath);
    fileDialogs.answerNext(kJobPath);
    click(*sheet, "cmdFitted");
    EXPECT_EQ(boxes.shown().size(), 1u) << "the failed write says so";
    EXPECT_TRUE(fitted.enabled());
    EXPECT_EQ(fitted.caption(), "Fitted");
    EXPECT_EQ(storage.files[boxFile], sheet::writeShimBoxBytes("2.600 2.475"));
    storage.failingWrites.clear();

    boxes.clear();
    fileDialogs.answerNext(kJobPath);
    click(*sheet, "cmdFitted");
    EXPECT_FALSE(fitted.enabled());
    EXPECT_EQ(fitted.caption(), "Fitted 2026-12-09");
    EXPECT_FALSE(sheet->modified());
    // The box keeps its spares (the plan used none) and takes cylinder 1 exhaust 2's 2.550.
    EXPECT_EQ(std::get<std::string>(storage.read(boxFile, 1 << 20)),
              sheet::writeShimBoxBytes(sheet::shimsText({2'475'000, 2'550'000, 2'600'000})));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Information);
    EXPECT_NE(boxes.shown()[0].text.find("3 shims"), std::string::npos) << boxes.shown()[0].text;

    // Opened again, the job stays fitted.
    click(*sheet, "cmdClose");
    reopenSheet();
    fileDialogs.answerNext(kJobPath);
    choose(*sheet, "mnuOpen");
    const auto reopened = control<runtime::CommandButton>(*sheet, "cmdFitted");
    EXPECT_FALSE(reopened.enabled());
    EXPECT_EQ(reopened.caption(), "Fitted 2026-12-09");
}

TEST_F(JobWindow, TheShimBoxOpensFromTheSheetsFileMenuAndIsAskedAboutAtTheEnd) {
    choose(*sheet, "mnuShimBox");
    const runtime::Form* box = forms().find<frmShimBox>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->visible());
    put("txtOdometer", "24,500 km");
    enter(*box, "txtShims", "2.400 2.450");
    // The job's question, then the box's: Cancel at the second keeps the program running.
    boxes.answerNext(MsgAnswer::No);
    boxes.answerNext(MsgAnswer::Cancel);
    input().close(*main);
    input().settle();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0], saveQuestion("Valve Sheet"));
    EXPECT_EQ(boxes.shown()[1].text, "Save changes to Shim Box?");
    EXPECT_EQ(programEnds, 0);
    boxes.answerNext(MsgAnswer::No);
    boxes.answerNext(MsgAnswer::Yes);
    input().close(*main);
    input().settle();
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(storage.files.count(platform::pathIn("/data/clearmark", sheet::kShimBoxFile)), 1u)
        << "Yes saved the box";
}

} // namespace
} // namespace clearmark
