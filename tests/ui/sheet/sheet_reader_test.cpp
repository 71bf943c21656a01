// The valve sheet's texts read into the planner's input without a window: every refusal
// with its field and its words, which fault of several is named, the limits on either side,
// and inputs read whole in either unit, which the planner then takes.
#include "sheet/sheet_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace clearmark::sheet {
namespace {

constexpr ValveKind IN = ValveKind::Intake;
constexpr ValveKind EX = ValveKind::Exhaust;

// The worked Triumph twin as typed, with the settings' defaults and a spare.
SheetTexts twin() {
    SheetTexts texts;
    for (const Setting& setting : kSettings)
        texts.*setting.text = setting.initial;
    texts.spares = "2.475";
    texts.rows = {{"0.100", "2.450"}, {"0.180", "2.500"}, {"0.320", "2.400"}, {"0.240", "2.550"},
                  {"0.230", "2.375"}, {"0,150", "2.600"}, {"0.210", "2.450"}, {"0.280", "2.425"}};
    return texts;
}

// The twin with its ranges, aims and gaps in inches.
SheetTexts inchTwin() {
    SheetTexts texts = twin();
    texts.unit = GapUnit::Inches;
    texts.intakeFrom = "0.0059";
    texts.intakeTo = "0.0079";
    texts.intakeAim = "0.0069";
    texts.exhaustFrom = "0.0098";
    texts.exhaustTo = "0.0118";
    texts.exhaustAim = "0.0108";
    for (SheetTexts::Row& row : texts.rows)
        row.gap = "0.0070";
    return texts;
}

std::string spares(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "2.5 ";
    return text;
}

struct Refusal {
    const char* name;
    std::function<void(SheetTexts&)> spoil;
    BadField bad;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class ReadSheetRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(ReadSheetRefuses, NamingTheFieldAndWhy) {
    SheetTexts texts = twin();
    GetParam().spoil(texts);
    const auto read = readSheet(texts);
    ASSERT_TRUE(std::holds_alternative<BadField>(read));
    EXPECT_EQ(std::get<BadField>(read).box, GetParam().bad.box);
    EXPECT_EQ(std::get<BadField>(read).message, GetParam().bad.message);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ReadSheetRefuses,
    testing::Values(Refusal{"CylindersPastTheMost",
                            [](SheetTexts& t) { t.cylinders = "9"; },
                            {"txtCylinders", "Cylinders must be a whole number from 1 to 8"}},
                    Refusal{"CylindersNotWhole",
                            [](SheetTexts& t) { t.cylinders = "2.5"; },
                            {"txtCylinders", "Cylinders must be a whole number from 1 to 8"}},
                    Refusal{"IntakeValvesMissing",
                            [](SheetTexts& t) { t.intakeValves = ""; },
                            {"txtIntakeValves",
                             "Intake valves per cylinder must be a whole number from 1 to 3"}},
                    Refusal{"ExhaustValvesNone",
                            [](SheetTexts& t) { t.exhaustValves = "0"; },
                            {"txtExhaustValves",
                             "Exhaust valves per cylinder must be a whole number from 1 to 3"}},
                    Refusal{"TooManyValves",
                            [](SheetTexts& t) {
                                t.cylinders = "8";
                                t.intakeValves = "3";
                            },
                            {"txtCylinders", "The engine has more than 24 valves"}},
                    Refusal{"RangeMissing",
                            [](SheetTexts& t) { t.intakeFrom = " "; },
                            {"txtIntakeFrom", "Intake gap from is missing"}},
                    Refusal{"AimNotANumber",
                            [](SheetTexts& t) { t.exhaustAim = "x"; },
                            {"txtExhaustAim", "Exhaust aim is not a number"}},
                    Refusal{"ShimsBelowZero",
                            [](SheetTexts& t) { t.shimsTo = "-3"; },
                            {"txtShimsTo", "Shims to is below zero"}},
                    Refusal{"StepTooLarge",
                            [](SheetTexts& t) { t.shimStep = "1e9"; },
                            {"txtShimStep", "Shim step is too large"}},
                    Refusal{"FortyInchesTooLarge",
                            [](SheetTexts& t) {
                                t.unit = GapUnit::Inches;
                                t.intakeFrom = "0.0059";
                                t.intakeTo = "40";
                            },
                            {"txtIntakeTo", "Intake gap to is too large"}},
                    Refusal{"SpareNotASize",
                            [](SheetTexts& t) { t.spares = "2.5 two"; },
                            {"txtSpares", "Spare shims: two is not a shim size"}},
                    Refusal{"GapMissing",
                            [](SheetTexts& t) { t.rows[6].gap = ""; },
                            {"txtGap7", "Cylinder 2 exhaust 1 gap is missing"}},
                    Refusal{"ShimBelowZero",
                            [](SheetTexts& t) { t.rows[0].shim = "-2.4"; },
                            {"txtShim1", "Cylinder 1 intake 1 shim is below zero"}},
                    Refusal{"RowNotHeld",
                            [](SheetTexts& t) { t.rows.resize(7); },
                            {"txtGap8", "Cylinder 2 exhaust 2 gap is missing"}},
                    Refusal{"TooManySpares",
                            [](SheetTexts& t) { t.spares = spares(2001); },
                            {"txtSpares", "Spare shims lists more than 2,000 sizes"}},
                    Refusal{"IntakeBackwards",
                            [](SheetTexts& t) { t.intakeTo = "0.1"; },
                            {"txtIntakeFrom", "Intake gap from is above Intake gap to"}},
                    Refusal{"ExhaustBackwards",
                            [](SheetTexts& t) { t.exhaustFrom = "0.35"; },
                            {"txtExhaustFrom", "Exhaust gap from is above Exhaust gap to"}},
                    Refusal{"IntakeAimOutside",
                            [](SheetTexts& t) { t.intakeAim = "0.21"; },
                            {"txtIntakeAim", "Intake aim is outside the intake gap range"}},
                    Refusal{"ExhaustAimOutside",
                            [](SheetTexts& t) { t.exhaustAim = "0.249"; },
                            {"txtExhaustAim", "Exhaust aim is outside the exhaust gap range"}},
                    Refusal{"NoStep",
                            [](SheetTexts& t) { t.shimStep = "0"; },
                            {"txtShimStep", "Shim step is not positive"}},
                    Refusal{"ShimsBackwards",
                            [](SheetTexts& t) { t.shimsTo = "1.9"; },
                            {"txtShimsFrom", "Shims from is above Shims to"}},
                    Refusal{"TooManySizes",
                            [](SheetTexts& t) { t.shimStep = "0.0001"; },
                            {"txtShimStep", "Shims from, to and step make more than 2,000 sizes"}},
                    Refusal{"OneSizeTooMany",
                            [](SheetTexts& t) { t.shimStep = "0.0006"; }, // 2,001
                            {"txtShimStep", "Shims from, to and step make more than 2,000 sizes"}},
                    // Of several faults, the counts before the rest, each field before what the
                    // fields make together, and these in the planner's order.
                    Refusal{"CountsFirst",
                            [](SheetTexts& t) {
                                t.rows[0].gap = "";
                                t.cylinders = "9";
                            },
                            {"txtCylinders", "Cylinders must be a whole number from 1 to 8"}},
                    Refusal{"FieldsBeforeTheirRelations",
                            [](SheetTexts& t) {
                                t.intakeTo = "0.1";
                                t.rows[0].gap = "x";
                            },
                            {"txtGap1", "Cylinder 1 intake 1 gap is not a number"}},
                    Refusal{"StepBeforeShimsBackwards",
                            [](SheetTexts& t) {
                                t.shimStep = "0";
                                t.shimsTo = "1.9";
                            },
                            {"txtShimStep", "Shim step is not positive"}},
                    Refusal{"GapAboveAMillimetre",
                            [](SheetTexts& t) { t.rows[1].gap = "1.001"; },
                            {"txtGap2", "Cylinder 1 intake 2 gap is above 1 mm"}},
                    Refusal{"GapAboveFortyThou",
                            [](SheetTexts& t) {
                                t.unit = GapUnit::Inches;
                                t.rows[0].gap = "0.0401";
                            },
                            {"txtGap1", "Cylinder 1 intake 1 gap is above 0.040 in"}},
                    Refusal{"ShimTypedAsItsStamp",
                            [](SheetTexts& t) { t.rows[2].shim = " 245 "; },
                            {"txtShim3", "Cylinder 1 exhaust 1 shim is more than 1 mm outside "
                                         "the shim sizes (2.00 to 3.20). If 245 is the number "
                                         "stamped on the shim, type 2.45."}},
                    Refusal{"ShimFarBelowTheSizes",
                            [](SheetTexts& t) { t.rows[0].shim = "0.99"; },
                            {"txtShim1", "Cylinder 1 intake 1 shim is more than 1 mm outside "
                                         "the shim sizes (2.00 to 3.20)"}},
                    Refusal{"ShimFarAboveTheSizes",
                            [](SheetTexts& t) { t.rows[7].shim = "4.201"; },
                            {"txtShim8", "Cylinder 2 exhaust 2 shim is more than 1 mm outside "
                                         "the shim sizes (2.00 to 3.20)"}}),
    [](const testing::TestParamInfo<Refusal>& info) { return info.param.name; });

// The limits themselves are taken: a gap of 1 mm (0.040 in), a shim 1 mm beyond the sizes.
TEST(ReadSheet, TakesTheLimitsOfGapsAndFittedShims) {
    for (const GapUnit unit : {GapUnit::Millimetres, GapUnit::Inches}) {
        SheetTexts texts = unit == GapUnit::Inches ? inchTwin() : twin();
        texts.rows[0].gap = unit == GapUnit::Inches ? "0.040" : "1.000";
        texts.rows[1].shim = "1.00";
        texts.rows[2].shim = "4.20";
        EXPECT_TRUE(std::holds_alternative<SheetInput>(readSheet(texts)));
    }
}

// The input read from what is typed, checked field by field, and taken by the planner.
SheetInput readWhole(const SheetTexts& texts) {
    const auto read = readSheet(texts);
    if (const auto* bad = std::get_if<BadField>(&read))
        ADD_FAILURE() << bad->box << ": " << bad->message;
    if (!std::holds_alternative<SheetInput>(read))
        return {};
    const SheetInput& input = std::get<SheetInput>(read);
    EXPECT_TRUE(std::holds_alternative<SheetPlan>(planSheet(input)));
    return input;
}

TEST(ReadSheet, ReadsTheTwinInMillimetres) {
    const SheetInput input = readWhole(twin());
    ASSERT_EQ(input.valves.size(), 8u);
    const ValveKind kinds[] = {IN, IN, EX, EX, IN, IN, EX, EX};
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(input.valves[i].kind, kinds[i]) << i;
    EXPECT_EQ(input.valves[0].gap, 100'000);
    EXPECT_EQ(input.valves[0].shim, 2'450'000);
    EXPECT_EQ(input.valves[5].gap, 150'000); // typed with a decimal comma
    EXPECT_EQ(input.valves[7].shim, 2'425'000);
    EXPECT_EQ(input.intake.from, 150'000);
    EXPECT_EQ(input.intake.to, 200'000);
    EXPECT_EQ(input.intake.aim, 175'000);
    EXPECT_EQ(input.exhaust.from, 250'000);
    EXPECT_EQ(input.exhaust.aim, 275'000);
    EXPECT_EQ(input.catalogue.from, 2'000'000);
    EXPECT_EQ(input.catalogue.to, 3'200'000);
    EXPECT_EQ(input.catalogue.step, 25'000);
    EXPECT_EQ(input.spares, std::vector<Nanometres>{2'475'000});
    EXPECT_TRUE(input.leaveInRangeAlone);
}

TEST(ReadSheet, ReadsGapsInInchesAndShimsInMillimetres) {
    SheetTexts texts = inchTwin();
    texts.leaveInRangeAlone = false;
    texts.rows[0] = {"0.0039", "2.450"};
    const SheetInput input = readWhole(texts);
    ASSERT_EQ(input.valves.size(), 8u);
    EXPECT_EQ(input.intake.from, 149'860);
    EXPECT_EQ(input.exhaust.to, 299'720);
    EXPECT_EQ(input.valves[0].gap, 99'060);
    EXPECT_EQ(input.valves[0].shim, 2'450'000);
    EXPECT_EQ(input.catalogue.step, 25'000);
    EXPECT_FALSE(input.leaveInRangeAlone);
}

TEST(ReadSheet, TakesTheLimitsThemselves) {
    struct Case {
        const char* name;
        std::function<void(SheetTexts&)> change;
        std::size_t valves;
    };
    const Case cases[] = {
        {"2,000 spares", [](SheetTexts& t) { t.spares = spares(2000); }, 8},
        {"2,000 sizes",
         [](SheetTexts& t) {
             t.shimsTo = "3.1994";
             t.shimStep = "0.0006";
         },
         8},
        {"one size",
         [](SheetTexts& t) {
             t.shimsFrom = "2.5";
             t.shimsTo = "2.5";
         },
         8},
        {"24 valves",
         [](SheetTexts& t) {
             t.cylinders = "8";
             t.exhaustValves = "1";
             t.rows.assign(24, {"0.2", "2.5"});
         },
         24},
        // Only the engine's rows are read; the rest may hold anything.
        {"rows past the engine",
         [](SheetTexts& t) {
             t.cylinders = "1";
             t.exhaustValves = "1";
         },
         3},
        {"aims on the ends",
         [](SheetTexts& t) {
             t.intakeAim = "0.15";
             t.exhaustAim = "0.30";
         },
         8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SheetTexts texts = twin();
        texts.rows.push_back({"junk", ""});
        c.change(texts);
        EXPECT_EQ(readWhole(texts).valves.size(), c.valves);
    }
}

} // namespace
} // namespace clearmark::sheet
