// The valve sheet as its user meets it: reached from the Tools menu, rows that follow the
// engine's counts, the worked Triumph plan, its boxes for bad input, Copy, Reset, Close and
// the unit of the gaps.
#include "sheet/frmValveSheet.h"
#include "ui/sheet/sheet_fixture.h"

#include <string>
#include <vector>

namespace clearmark {
namespace {

using runtime::forms;
using runtime::MsgBoxRequest;
using testing_support::Key;
using Sheet = testing_support::SheetFixture;
using testing_support::kTriumphTwin;
using testing_support::kTwinNames;
using testing_support::sheetBox;

TEST_F(Sheet, OpensOnceFromTheToolsMenuWithTheTriumphDefaults) {
    EXPECT_EQ(sheet->caption(), "Valve Sheet");
    EXPECT_TRUE(sheet->visible());
    EXPECT_EQ(rowNames(), kTwinNames);
    const std::pair<const char*, const char*> defaults[] = {
        {"txtCylinders", "2"},      {"txtIntakeValves", "2"}, {"txtExhaustValves", "2"},
        {"txtIntakeFrom", "0.15"},  {"txtIntakeTo", "0.20"},  {"txtIntakeAim", "0.175"},
        {"txtExhaustFrom", "0.25"}, {"txtExhaustTo", "0.30"}, {"txtExhaustAim", "0.275"},
        {"txtShimsFrom", "2.00"},   {"txtShimsTo", "3.20"},   {"txtShimStep", "0.025"},
        {"txtSpares", ""}};
    for (const auto& [box, value] : defaults)
        EXPECT_EQ(text(box), value) << box;
    EXPECT_TRUE(control<runtime::OptionButton>(*sheet, "optMillimeters").value());
    EXPECT_FALSE(control<runtime::OptionButton>(*sheet, "optInches").value());
    EXPECT_TRUE(control<runtime::CheckBox>(*sheet, "chkLeaveInRangeAlone").value());
    choose(*main, "mnuValveSheet");
    EXPECT_EQ(forms().find<frmValveSheet>(), sheet);
    EXPECT_EQ(loadedWindows(), "frmClearmark frmConvert frmValveSheet");
}

TEST_F(Sheet, RowsFollowTheCountsOnceTheyAreValid) {
    struct Case {
        const char* box;
        const char* typed;
        std::size_t rows; // after typing
        const char* last;
    };
    const Case cases[] = {
        {"txtCylinders", "1", 4, "Cylinder 1 exhaust 2"},
        {"txtExhaustValves", "1", 3, "Cylinder 1 exhaust 1"},
        {"txtCylinders", "8", 24, "Cylinder 8 exhaust 1"},
        {"txtCylinders", "0", 24, "Cylinder 8 exhaust 1"},  // not valid: the rows stay
        {"txtCylinders", "9", 24, "Cylinder 8 exhaust 1"},  //
        {"txtCylinders", "2.5", 6, "Cylinder 2 exhaust 1"}, // followed as far as "2."
        {"txtCylinders", "8", 24, "Cylinder 8 exhaust 1"},
        {"txtIntakeValves", "3", 24, "Cylinder 8 exhaust 1"}, // 8 x 4 valves: too many
        {"txtCylinders", "6", 24, "Cylinder 6 exhaust 1"},
        {"txtIntakeValves", "x", 24, "Cylinder 6 exhaust 1"},
        {"txtIntakeValves", "1", 12, "Cylinder 6 exhaust 1"},
    };
    for (const Case& c : cases) {
        put(c.box, c.typed);
        const std::vector<std::string> names = rowNames();
        ASSERT_EQ(names.size(), c.rows) << c.box << " " << c.typed;
        EXPECT_EQ(names.back(), c.last) << c.box << " " << c.typed;
    }
}

TEST_F(Sheet, WhatTheRemainingValvesHoldMovesWithThem) {
    put(rowBox("txtGap", 3), "0.32"); // Cylinder 1 exhaust 1
    put(rowBox("txtShim", 3), "2.4");
    put(rowBox("txtGap", 2), "0.18"); // Cylinder 1 intake 2, which goes
    put("txtIntakeValves", "1");
    ASSERT_EQ(label(*sheet, "lblValve2").caption(), "Cylinder 1 exhaust 1");
    EXPECT_EQ(text("txtGap2"), "0.32");
    EXPECT_EQ(text("txtShim2"), "2.4");
    put("txtIntakeValves", "2");
    EXPECT_EQ(text("txtGap2"), ""); // the valve came back empty
    EXPECT_EQ(text("txtGap3"), "0.32");
}

TEST_F(Sheet, PlansTheWorkedTriumphExample) {
    enterTriumphTwin();
    press(*sheet, Key::Enter); // Plan is the default button
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(column("txtPlan"),
              (std::vector<std::string>{"fit 2.375 from cylinder 2 intake 1", "keep",
                                        "fit 2.450 from cylinder 1 intake 1", "buy 2.525",
                                        "fit 2.450 from cylinder 2 exhaust 1", "keep",
                                        "fit 2.400 from cylinder 1 exhaust 1", "keep"}));
    EXPECT_EQ(column("txtNewGap"), (std::vector<std::string>{"0.175", "0.180", "0.270", "0.265",
                                                             "0.155", "0.150", "0.260", "0.280"}));
    EXPECT_EQ(text("txtBuy"), "1 \u00d7 2.525");
    EXPECT_EQ(text("txtLeftOver"), "2.475, 2.550");
}

TEST_F(Sheet, SaysWhatStillIsOutOfRangeAndUsesSpares) {
    put("txtCylinders", "1");
    put("txtExhaustValves", "1");
    put("txtIntakeValves", "1");
    put("txtSpares", "2.35; 2,5");
    put("txtGap1", "0.1");
    put("txtShim1", "2.45");
    put("txtGap2", "0.02"); // even the smallest size leaves it too tight
    put("txtShim2", "2");
    click(*sheet, "cmdPlan");
    EXPECT_EQ(boxes.shown(),
              std::vector<MsgBoxRequest>{sheetBox(
                  "No shim size brings Cylinder 1 exhaust 1 (new gap 0.020) into range; the "
                  "valve or its seat needs looking at.")});
    EXPECT_EQ(column("txtPlan"), (std::vector<std::string>{"fit 2.350 spare", "keep"}));
    EXPECT_EQ(column("txtNewGap"), (std::vector<std::string>{"0.200", "0.020 out of range"}));
    EXPECT_EQ(text("txtBuy"), "nothing");
    EXPECT_EQ(text("txtLeftOver"), "2.450, 2.500");
}

TEST_F(Sheet, OneBoxNamesTheValvesNoShimSizeBringsIntoRangeBesideThePlan) {
    struct Case {
        const char* name;
        bool inches;
        // Gap and shim of cylinder 1's intake and exhaust, then cylinder 2's.
        std::vector<std::pair<const char*, const char*>> rows;
        std::vector<std::string> plans;
        const char* box; // "": none
    };
    const Case cases[] = {
        {"every valve mended",
         false,
         {{"0.100", "2.450"}, {"0.300", "2.500"}, {"0.175", "2.500"}, {"0.275", "2.500"}},
         {"buy 2.375", "keep", "keep", "keep"},
         ""},
        {"one too tight",
         false,
         {{"0.175", "2.500"}, {"0.020", "2.000"}, {"0.175", "2.500"}, {"0.275", "2.500"}},
         {"keep", "keep", "keep", "keep"},
         "No shim size brings Cylinder 1 exhaust 1 (new gap 0.020) into range; the valve or its "
         "seat needs looking at."},
        {"one too tight, one too loose",
         false,
         {{"0.020", "2.050"}, {"0.300", "2.500"}, {"0.175", "2.500"}, {"0.900", "3.100"}},
         {"buy 2.000", "keep", "keep", "buy 3.200"},
         "No shim size brings these valves into range; each valve or its seat needs looking "
         "at:\nCylinder 1 intake 1 (new gap 0.070)\nCylinder 2 exhaust 1 (new gap 0.800)"},
        {"gaps in inches",
         true,
         {{"0.0300", "3.150"}, {"0.0110", "2.500"}, {"0.0070", "2.500"}, {"0.0110", "2.500"}},
         {"buy 3.200", "keep", "keep", "keep"},
         "No shim size brings Cylinder 1 intake 1 (new gap 0.0280) into range; the valve or its "
         "seat needs looking at."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        click(*sheet, "cmdReset");
        put("txtIntakeValves", "1");
        put("txtExhaustValves", "1");
        if (c.inches)
            select(*sheet, "optInches");
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            put(rowBox("txtGap", i + 1), c.rows[i].first);
            put(rowBox("txtShim", i + 1), c.rows[i].second);
        }
        boxes.clear();
        click(*sheet, "cmdPlan");
        EXPECT_EQ(boxes.shown(), *c.box ? std::vector<MsgBoxRequest>{sheetBox(c.box)}
                                        : std::vector<MsgBoxRequest>{});
        EXPECT_EQ(column("txtPlan"), c.plans);
        EXPECT_NE(text("txtBuy"), "");
    }
}

TEST_F(Sheet, BadInputNamesTheFieldAndKeepsWhatWasTyped) {
    struct Case {
        const char* box;
        const char* typed;
        const char* message;
        const char* focus; // "": the box itself
    };
    const Case cases[] = {
        {"txtGap7", "", "Cylinder 2 exhaust 1 gap is missing", ""},
        {"txtShim7", "2.4x", "Cylinder 2 exhaust 1 shim is not a number", ""},
        {"txtShim1", "-2.4", "Cylinder 1 intake 1 shim is below zero", ""},
        {"txtGap1", "1e9", "Cylinder 1 intake 1 gap is too large", ""},
        {"txtCylinders", "9", "Cylinders must be a whole number from 1 to 8", ""},
        {"txtExhaustValves", "0", "Exhaust valves per cylinder must be a whole number from 1 to 3",
         ""},
        {"txtIntakeTo", "0.1", "Intake gap from is above Intake gap to", "txtIntakeFrom"},
        {"txtExhaustAim", "0.31", "Exhaust aim is outside the exhaust gap range", ""},
        {"txtShimStep", "0", "Shim step is not positive", ""},
        {"txtShimStep", "0.0001", "Shims from, to and step make more than 2,000 sizes", ""},
        {"txtShimsTo", "1.9", "Shims from is above Shims to", "txtShimsFrom"},
        {"txtSpares", "2.5 two", "Spare shims: two is not a shim size", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        reset();
        enterTriumphTwin();
        click(*sheet, "cmdPlan");
        ASSERT_EQ(text("txtBuy"), "1 \u00d7 2.525");
        boxes.clear();
        put(c.box, c.typed);
        click(*sheet, "cmdPlan");
        ASSERT_EQ(boxes.shown(), std::vector<MsgBoxRequest>{sheetBox(c.message)});
        EXPECT_EQ(focused(*sheet), *c.focus ? c.focus : c.box);
        EXPECT_EQ(text(c.box), c.typed);
        EXPECT_EQ(text("txtGap1"), c.box == std::string("txtGap1") ? c.typed : "0.100");
        EXPECT_EQ(text("txtSpares"), c.box == std::string("txtSpares") ? c.typed : "2.475");
        EXPECT_EQ(text("txtBuy"), "");
        EXPECT_EQ(text("txtPlan1"), "");
        EXPECT_EQ(text("txtNewGap1"), "");
    }
}

TEST_F(Sheet, CopyPutsTheSheetOnTheClipboardAsTabSeparatedText) {
    enterTriumphTwin();
    click(*sheet, "cmdPlan");
    click(*sheet, "cmdCopy");
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(input().clipboardText(),
              "Valve\tGap\tShim\tPlan\tNew gap\n"
              "Cylinder 1 intake 1\t0.100\t2.450\tfit 2.375 from cylinder 2 intake 1\t0.175\n"
              "Cylinder 1 intake 2\t0.180\t2.500\tkeep\t0.180\n"
              "Cylinder 1 exhaust 1\t0.320\t2.400\tfit 2.450 from cylinder 1 intake 1\t0.270\n"
              "Cylinder 1 exhaust 2\t0.240\t2.550\tbuy 2.525\t0.265\n"
              "Cylinder 2 intake 1\t0.230\t2.375\tfit 2.450 from cylinder 2 exhaust 1\t0.155\n"
              "Cylinder 2 intake 2\t0,150\t2.600\tkeep\t0.150\n"
              "Cylinder 2 exhaust 1\t0.210\t2.450\tfit 2.400 from cylinder 1 exhaust 1\t0.260\n"
              "Cylinder 2 exhaust 2\t0.280\t2.425\tkeep\t0.280\n"
              "Buy\t1 \u00d7 2.525\n"
              "Left over\t2.475, 2.550\n");
}

TEST_F(Sheet, InchesConvertTheGapsTypedAndClearThePlanMadeInTheOtherUnit) {
    enterTriumphTwin();
    click(*sheet, "cmdPlan");
    select(*sheet, "optInches");
    EXPECT_EQ(text("txtIntakeFrom"), "0.0059");
    EXPECT_EQ(text("txtExhaustAim"), "0.0108");
    EXPECT_EQ(text("txtGap1"), "0.0039");
    EXPECT_EQ(text("txtShim1"), "2.450"); // shims stay millimetres
    EXPECT_EQ(text("txtNewGap1"), "");
    EXPECT_EQ(text("txtPlan4"), "");
    click(*sheet, "cmdPlan");
    EXPECT_EQ(text("txtNewGap1"), "0.0069");
    EXPECT_EQ(text("txtPlan4"), "buy 2.525");
    select(*sheet, "optMillimeters");
    EXPECT_EQ(text("txtIntakeFrom"), "0.150");
    EXPECT_EQ(text("txtGap1"), "0.099"); // 0.0039 in, as written
}

TEST_F(Sheet, ResetBringsBackTheDefaultsAndEmptiesTheRows) {
    enterTriumphTwin();
    put("txtCylinders", "3");
    select(*sheet, "optInches");
    input().click(control<runtime::CheckBox>(*sheet, "chkLeaveInRangeAlone"));
    click(*sheet, "cmdPlan");
    reset();
    EXPECT_EQ(rowNames(), kTwinNames);
    EXPECT_EQ(column("txtGap"), std::vector<std::string>(8, ""));
    EXPECT_EQ(column("txtShim"), std::vector<std::string>(8, ""));
    EXPECT_EQ(column("txtPlan"), std::vector<std::string>(8, ""));
    EXPECT_EQ(text("txtIntakeFrom"), "0.15");
    EXPECT_EQ(text("txtSpares"), "");
    EXPECT_TRUE(control<runtime::OptionButton>(*sheet, "optMillimeters").value());
    EXPECT_TRUE(control<runtime::CheckBox>(*sheet, "chkLeaveInRangeAlone").value());
    EXPECT_EQ(text("txtBuy"), "");
}

TEST_F(Sheet, CloseAndEscUnloadItAndTheNextOpeningStartsAfresh) {
    struct Case {
        const char* how;
        void (*close)(frmValveSheet&);
    };
    const Case cases[] = {
        {"Close",
         [](frmValveSheet& s) {
             click(s, "cmdClose");
         }},
        {"Esc",
         [](frmValveSheet& s) {
             press(s, Key::Escape);
         }},
        {"title bar",
         [](frmValveSheet& s) {
             input().close(s);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        put("txtGap1", "0.3");
        boxes.answerNext(runtime::MsgAnswer::No);
        c.close(*sheet);
        input().settle();
        EXPECT_EQ(forms().find<frmValveSheet>(), nullptr);
        EXPECT_TRUE(main->visible());
        choose(*main, "mnuValveSheet");
        sheet = forms().find<frmValveSheet>();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(text("txtGap1"), "") << "the sheet keeps nothing";
    }
}

TEST_F(Sheet, TabGoesThroughTheSettingsThenRowByRowThenTheButtons) {
    ASSERT_TRUE(tabTo(*sheet, "txtSpares"));
    EXPECT_EQ(focusAfterEach(*sheet, Key::Tab, 5),
              (std::vector<std::string>{"chkLeaveInRangeAlone", "txtGap1", "txtShim1", "txtGap2",
                                        "txtShim2"}));
    ASSERT_TRUE(tabTo(*sheet, "txtShim8"));
    EXPECT_EQ(focusAfterEach(*sheet, Key::Tab, 5),
              (std::vector<std::string>{"cmdPlan", "cmdCopy", "cmdReset", "cmdClose", "txtBike"}));
}

} // namespace
} // namespace clearmark
