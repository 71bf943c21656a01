// The valve sheet printed: the plan as the sheet shows it, or the blank form for the engine as
// set, on the printer the user chooses; a cancelled dialog or a failing printer leaves the
// sheet as it was.
#include "ui/sheet/sheet_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace clearmark::testing_support {
namespace {

using runtime::PrintOutcome;
using runtime::PrintResult;

class PrintWindow : public SheetFixture {
protected:
    bool onPage(std::size_t page, const std::string& text) const {
        const auto& texts = printer.pages.at(page).texts;
        return std::any_of(texts.begin(), texts.end(),
                           [&](const runtime::PageText& t) { return t.text == text; });
    }
    void planTwin() {
        enterTriumphTwin();
        click(*sheet, "cmdPlan");
        ASSERT_EQ(boxes.shown(), std::vector<MsgBoxRequest>{});
    }
};

TEST_F(PrintWindow, PrintsThePlanTheSheetShowsWithCtrlP) {
    planTwin();
    storage.date = "2026-12-12";
    printer.answerNext({PrintOutcome::Printed, {}});
    input().pressCtrl(*sheet, 'p');
    EXPECT_EQ(printer.documents, std::vector<std::string>{"Valve Sheet"});
    ASSERT_EQ(printer.pages.size(), 1u);
    EXPECT_EQ(boxes.shown(), std::vector<MsgBoxRequest>{});
    for (std::size_t i = 0; i < kTwinNames.size(); ++i) {
        EXPECT_TRUE(onPage(0, kTwinNames[i]));
        EXPECT_TRUE(onPage(0, column("txtPlan")[i])) << column("txtPlan")[i];
        EXPECT_TRUE(onPage(0, column("txtNewGap")[i])) << column("txtNewGap")[i];
    }
    EXPECT_TRUE(onPage(0, "not saved"));
    EXPECT_TRUE(onPage(0, "Printed 2026-12-12"));
}

TEST_F(PrintWindow, PrintsOnlyAPlanMadeFromTheSheetAsItStands) {
    const std::string planFirst =
        "Print prints this job's plan, made from the sheet as it stands. Press Plan first, or "
        "choose Print Blank Sheet for a form to measure on.";
    enterTriumphTwin();
    choose(*sheet, "mnuPrint");
    click(*sheet, "cmdPlan");
    put(rowBox("txtGap", 3), "0.300"); // the plan on show is stale
    choose(*sheet, "mnuPrint");
    EXPECT_EQ(boxes.shown(),
              (std::vector<MsgBoxRequest>{sheetBox(planFirst), sheetBox(planFirst)}));
    EXPECT_EQ(printer.documents, std::vector<std::string>{});
}

TEST_F(PrintWindow, ACancelledDialogOrAFailingPrinterLeavesTheSheetAsItWas) {
    struct Case {
        PrintResult answer;
        std::vector<MsgBoxRequest> boxes;
    };
    const Case cases[] = {
        {{PrintOutcome::Cancelled, {}}, {}},
        {{PrintOutcome::Failed, "the printer reported an error"},
         {sheetBox("The job sheet was not printed: the printer reported an error.")}},
    };
    planTwin();
    const std::vector<std::string> plans = column("txtPlan");
    const bool modified = sheet->modified();
    const std::string caption = sheet->caption();
    for (const Case& c : cases) {
        boxes.clear();
        printer.answerNext(c.answer);
        choose(*sheet, "mnuPrint");
        EXPECT_EQ(boxes.shown(), c.boxes);
        EXPECT_EQ(column("txtPlan"), plans);
        EXPECT_EQ(sheet->modified(), modified);
        EXPECT_EQ(sheet->caption(), caption);
    }
    EXPECT_EQ(printer.documents.size(), 2u);
    EXPECT_TRUE(printer.pages.empty());
}

TEST_F(PrintWindow, TheBlankSheetIsForTheEngineAsSetAndNeedsNoGaps) {
    put("txtCylinders", "9");
    choose(*sheet, "mnuPrintBlank");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Cylinders must be a whole number from 1 to 8");
    EXPECT_TRUE(printer.documents.empty());

    put("txtCylinders", "1");
    put("txtExhaustValves", "1");
    printer.answerNext({PrintOutcome::Printed, {}});
    choose(*sheet, "mnuPrintBlank");
    ASSERT_EQ(printer.pages.size(), 1u);
    EXPECT_TRUE(onPage(0, "Cylinder 1 intake 2"));
    EXPECT_TRUE(onPage(0, "Cylinder 1 exhaust 1"));
    EXPECT_FALSE(onPage(0, "Cylinder 1 exhaust 2"));
}

} // namespace
} // namespace clearmark::testing_support
