// The job sheet on paper, laid out without any window: what must hold on every paper and for
// every engine the sheet takes.
#include "runtime/text_metrics.h"
#include "sheet/job_page.h"
#include "sheet/shim_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <variant>
#include <vector>

namespace clearmark::sheet {
namespace {

using runtime::kFaceAscent;
using runtime::kFaceDescent;
using runtime::Page;
using runtime::PageArea;
using runtime::PageText;
using runtime::textWidth;

constexpr double kEpsilon = 1e-6;

struct Box {
    double left, top, right, bottom;
};
Box boxOf(const PageText& text) {
    return {text.x, text.baseline - text.size * kFaceAscent,
            text.x + textWidth(text.text, text.size, text.bold),
            text.baseline + text.size * kFaceDescent};
}

// A job for an engine of those counts: a gap and a shim on every row, planned.
PrintedJob plannedJob(const char* cylinders, const char* intake, const char* exhaust,
                      GapUnit unit) {
    PrintedJob printed;
    Job& job = printed.job;
    job.bike = "Bonneville T100";
    job.date = "2026-12-09";
    job.odometer = "24 310 km";
    for (const Setting& setting : kSettings)
        job.sheet.*setting.text = setting.initial;
    job.sheet.cylinders = cylinders;
    job.sheet.intakeValves = intake;
    job.sheet.exhaustValves = exhaust;
    job.sheet.unit = unit;
    if (unit == GapUnit::Inches) {
        job.sheet.intakeFrom = "0.006", job.sheet.intakeTo = "0.008", job.sheet.intakeAim = "0.007";
        job.sheet.exhaustFrom = "0.010", job.sheet.exhaustTo = "0.012",
        job.sheet.exhaustAim = "0.011";
    }
    job.sheet.spares = "2.475 2.500 2.525";
    const auto valves = valvesOf(job.sheet);
    EXPECT_TRUE(valves.has_value());
    printed.valves = valves.value_or(std::vector<ValveName>{});
    const char* gaps[] = {"0.100", "0.180", "0.320", "0.240", "0.230", "0.150", "0.210"};
    const char* inches[] = {"0.004", "0.007", "0.013", "0.009", "0.009", "0.006", "0.008"};
    const char* shims[] = {"2.450", "2.500", "2.400", "2.550", "2.375", "2.600", "2.425"};
    for (std::size_t i = 0; i < printed.valves.size(); ++i)
        job.sheet.rows.push_back(
            {unit == GapUnit::Millimetres ? gaps[i % 7] : inches[i % 7], shims[i % 7]});
    const auto read = readSheet(job.sheet);
    EXPECT_TRUE(std::holds_alternative<SheetInput>(read)) << std::get_if<BadField>(&read)->message;
    if (const auto* input = std::get_if<SheetInput>(&read))
        job.plan = std::get<SheetPlan>(planSheet(*input));
    printed.fileName = "t100.clearmark";
    printed.printedOn = "2026-12-10";
    return printed;
}

bool onPage(const Page& page, const std::string& text) {
    return std::any_of(page.texts.begin(), page.texts.end(),
                       [&](const PageText& t) { return t.text == text; });
}

std::size_t indexOf(const Page& page, const std::string& text) {
    for (std::size_t i = 0; i < page.texts.size(); ++i)
        if (page.texts[i].text == text)
            return i;
    ADD_FAILURE() << '"' << text << "\" is not on the page";
    return page.texts.size();
}

// The heights of the table's rows: the distances between its full-width rules above the
// summary.
std::vector<double> rowHeights(const Page& page) {
    const double summary = boxOf(page.texts[indexOf(page, "Buy")]).top;
    std::vector<double> rules;
    for (const auto& line : page.lines)
        if (line.y1 == line.y2 && line.y1 < summary &&
            line.x2 - line.x1 >= page.area.right - page.area.left - 1)
            rules.push_back(line.y1);
    std::sort(rules.begin(), rules.end());
    std::vector<double> heights;
    for (std::size_t i = 1; i < rules.size(); ++i)
        heights.push_back(rules[i] - rules[i - 1]);
    return heights;
}

struct PaperCase {
    const char* name;
    const char* cylinders;
    const char* intake;
    const char* exhaust;
    std::size_t valves;
    PageArea paper;
    GapUnit unit;
    PageKind kind;
};

class JobPageOnPaper : public ::testing::TestWithParam<PaperCase> {};

TEST_P(JobPageOnPaper, EverythingInsideThePrintableAreaNothingOverlappingTheTableReadable) {
    const PaperCase& c = GetParam();
    const PrintedJob printed = plannedJob(c.cylinders, c.intake, c.exhaust, c.unit);
    ASSERT_EQ(printed.valves.size(), c.valves);
    const Page page = jobPage(printed, c.kind, c.paper);
    const PageArea& area = page.area;
    EXPECT_EQ(area, c.paper);

    for (const PageText& text : page.texts) {
        const Box box = boxOf(text);
        EXPECT_TRUE(box.left >= area.left - kEpsilon && box.right <= area.right + kEpsilon &&
                    box.top >= area.top - kEpsilon && box.bottom <= area.bottom + kEpsilon)
            << '"' << text.text << "\" leaves the printable area";
    }
    for (const auto& line : page.lines)
        EXPECT_TRUE(std::min(line.x1, line.x2) >= area.left - kEpsilon &&
                    std::max(line.x1, line.x2) <= area.right + kEpsilon &&
                    std::min(line.y1, line.y2) >= area.top - kEpsilon &&
                    std::max(line.y1, line.y2) <= area.bottom + kEpsilon)
            << "a line at " << line.x1 << ", " << line.y1 << " leaves the printable area";
    for (std::size_t i = 0; i < page.texts.size(); ++i)
        for (std::size_t j = i + 1; j < page.texts.size(); ++j) {
            const Box a = boxOf(page.texts[i]);
            const Box b = boxOf(page.texts[j]);
            const bool apart = a.right <= b.left + kEpsilon || b.right <= a.left + kEpsilon ||
                               a.bottom <= b.top + kEpsilon || b.bottom <= a.top + kEpsilon;
            EXPECT_TRUE(apart) << '"' << page.texts[i].text << "\" overlaps \""
                               << page.texts[j].text << '"';
        }

    // One row a valve under the heading, each tall enough to write in, the text 10 pt or more.
    const std::vector<double> heights = rowHeights(page);
    ASSERT_EQ(heights.size(), c.valves + 1);
    for (const double height : heights)
        EXPECT_GE(height, 2 * kSmallestTableText);
    for (const ValveName& valve : printed.valves) {
        const PageText& name = page.texts[indexOf(page, valve.text())];
        EXPECT_GE(name.size, kSmallestTableText);
    }

    // The plan page shows each valve's plan whole; the blank one only the valves' names.
    for (std::size_t i = 0; i < c.valves; ++i) {
        const ValvePlan& plan = printed.job.plan->valves[i];
        EXPECT_EQ(onPage(page, planText(plan, printed.valves)), c.kind == PageKind::Plan)
            << planText(plan, printed.valves);
        EXPECT_EQ(onPage(page, newGapText(plan, c.unit)), c.kind == PageKind::Plan);
        EXPECT_EQ(onPage(page, printed.job.sheet.rows[i].shim), c.kind == PageKind::Plan);
    }
}

const PageArea kA4 = runtime::a4Paper();
const PageArea kLetter = runtime::letterPaper();
// A printer that keeps half an inch clear at the top and bottom, as some inkjets do.
const PageArea kWideMargins = {612, 792, 18, 36, 594, 756};
constexpr GapUnit mm = GapUnit::Millimetres;
constexpr GapUnit in = GapUnit::Inches;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pages, JobPageOnPaper, ::testing::Values(
    PaperCase{"SingleA4",            "1", "1", "1",  2, kA4,          mm, PageKind::Plan},
    PaperCase{"SingleLetterBlank",   "1", "1", "1",  2, kLetter,      mm, PageKind::Blank},
    PaperCase{"EightA4Inches",       "2", "2", "2",  8, kA4,          in, PageKind::Plan},
    PaperCase{"EightLetter",         "2", "2", "2",  8, kLetter,      mm, PageKind::Plan},
    PaperCase{"EightA4Blank",        "2", "2", "2",  8, kA4,          in, PageKind::Blank},
    PaperCase{"TwentyFourA4",        "6", "2", "2", 24, kA4,          mm, PageKind::Plan},
    PaperCase{"TwentyFourLetterIn",  "8", "2", "1", 24, kLetter,      in, PageKind::Plan},
    PaperCase{"TwentyFourBlank",     "8", "2", "1", 24, kLetter,      mm, PageKind::Blank},
    PaperCase{"TwentyFourMargins",   "4", "3", "3", 24, kWideMargins, in, PageKind::Plan}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(JobPage, ReadsInOrderFromTheJobToTheFooter) {
    PrintedJob printed = plannedJob("2", "2", "2", mm);
    printed.job.fitted = "2026-12-11";
    const Page page = jobPage(printed, PageKind::Plan, kA4);
    const std::vector<std::string> order = {"Valve clearances",
                                            "Bike",
                                            "Bonneville T100",
                                            "Date",
                                            "2026-12-09",
                                            "Odometer",
                                            "24 310 km",
                                            "Valve",
                                            "Gap (mm)",
                                            "Plan",
                                            "Checked (mm)",
                                            "Cylinder 1 intake 1",
                                            "Cylinder 2 exhaust 2",
                                            "Buy",
                                            "Left over",
                                            "Spares",
                                            "Fitted",
                                            "2026-12-11",
                                            "Clearmark 1.0.0",
                                            "t100.clearmark",
                                            "Printed 2026-12-10"};
    std::vector<std::size_t> at;
    for (const std::string& text : order)
        at.push_back(indexOf(page, text));
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
    EXPECT_TRUE(onPage(page, "Intake gap 0.15 to 0.20 mm, aim 0.175"));
    EXPECT_TRUE(onPage(page, "Shims 2.00 to 3.20 mm, step 0.025"));
    EXPECT_TRUE(onPage(page, countedSizes({2'475'000, 2'500'000, 2'525'000})));

    printed.fileName.clear();
    EXPECT_TRUE(onPage(jobPage(printed, PageKind::Plan, kA4), "not saved"));
}

TEST(JobPage, TheBlankSheetLeavesTheMeasuringAndThePlanToThePencil) {
    const PrintedJob printed = plannedJob("2", "2", "2", mm);
    const Page page = jobPage(printed, PageKind::Blank, kLetter);
    for (const auto& row : printed.job.sheet.rows) {
        EXPECT_FALSE(onPage(page, row.gap));
        EXPECT_FALSE(onPage(page, row.shim));
    }
    EXPECT_FALSE(onPage(page, countedSizes(printed.job.plan->bought)));
    EXPECT_TRUE(onPage(page, "Exhaust gap 0.25 to 0.30 mm, aim 0.275"));
    EXPECT_TRUE(onPage(page, "Cylinder 2 exhaust 2"));

    // No spares typed: a line to write them in, not "nothing".
    PrintedJob noSpares = printed;
    noSpares.job.sheet.spares.clear();
    EXPECT_FALSE(onPage(jobPage(noSpares, PageKind::Blank, kLetter), "nothing"));
    EXPECT_TRUE(onPage(jobPage(noSpares, PageKind::Plan, kLetter), "nothing"));
}

TEST(JobPage, ALongBikeNameIsCutBeforeTheDate) {
    PrintedJob printed = plannedJob("1", "1", "1", mm);
    printed.job.bike = std::string(30, 'W') + " Special with a name longer than any page";
    const Page page = jobPage(printed, PageKind::Plan, kLetter);
    const auto bike = std::find_if(page.texts.begin(), page.texts.end(),
                                   [](const PageText& t) { return t.text.rfind("WWW", 0) == 0; });
    ASSERT_NE(bike, page.texts.end());
    EXPECT_EQ(bike->text.substr(bike->text.size() - 3), "\u2026");
    EXPECT_LT(boxOf(*bike).right, boxOf(page.texts[indexOf(page, "Date")]).left);
}

TEST(JobPage, ALongListOfSparesTakesTwoLinesAndCountsTheRest) {
    PrintedJob printed = plannedJob("1", "1", "1", mm);
    std::string spares;
    std::vector<Nanometres> sizes;
    for (int i = 0; i < 48; ++i) {
        const Nanometres size = 2'000'000 + 25'000 * (i % 40);
        sizes.push_back(size);
        spares += formatLength(size, GapUnit::Millimetres) + " ";
    }
    printed.job.sheet.spares = spares;
    printed.job.plan.reset();
    const Page page = jobPage(printed, PageKind::Blank, kA4);
    const std::size_t at = indexOf(page, "Spares");
    ASSERT_LT(at + 2, page.texts.size());
    const std::string& last = page.texts[at + 2].text;
    EXPECT_NE(last.find("\u2026 and "), std::string::npos) << last;
    EXPECT_EQ(page.texts[at + 3].text, "Fitted") << "more than two lines";
}

TEST(CountedLines, SetsTheSizesOnAtMostTheLinesGiven) {
    const std::vector<Nanometres> none;
    const std::vector<Nanometres> few = {2'500'000, 2'450'000, 2'500'000};
    std::vector<Nanometres> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(2'000'000 + 25'000 * i);
    many.push_back(2'000'000); // 31 shims in 30 sizes

    EXPECT_EQ(countedLines(none, 10, 500, 2), std::vector<std::string>{"nothing"});
    EXPECT_EQ(countedLines(few, 10, 500, 2),
              std::vector<std::string>{countedSizes({2'450'000, 2'500'000, 2'500'000})});
    EXPECT_EQ(countedLines(few, 10, 60, 2),
              (std::vector<std::string>{"1 \u00d7 2.450,", "2 \u00d7 2.500"}));

    // What is not shown is counted in shims, and shown and not shown make every shim.
    for (const double width : {400.0, 150.0, 80.0}) {
        const auto lines = countedLines(many, 10, width, 2);
        ASSERT_EQ(lines.size(), 2u) << width;
        std::size_t shown = 0;
        for (const std::string& line : lines) {
            EXPECT_LE(textWidth(line, 10), width) << line;
            for (std::size_t at = line.find(" \u00d7 "); at != std::string::npos;
                 at = line.find(" \u00d7 ", at + 1))
                shown += std::stoul(line.substr(line.find_last_of(" ,", at - 1) + 1));
        }
        const std::string& last = lines.back();
        const auto more = last.find("\u2026 and ");
        ASSERT_NE(more, std::string::npos) << last;
        EXPECT_EQ(shown + std::stoul(last.substr(more + 8)), many.size()) << last;
    }
}

TEST(TextMetrics, FitTextCutsWhereTheWidthEndsAndNeverInsideACharacter) {
    struct Case {
        const char* text;
        double width;
        const char* fitted;
    };
    // At 10 pt a digit is 5.56 pt wide, the ellipsis 10, "×" 5.84.
    const Case cases[] = {
        {"2.525", 100, "2.525"},
        {"2.525", textWidth("2.525", 10), "2.525"},
        {"2.525", 5.56 * 2 + 10, "2.\u2026"},
        {"2 \u00d7 2.525", 5.56 + 2.78 + 5.0 + 10, "2\u2026"},
        {"2 \u00d7 2.525", 5.56 + 2.78 + 5.84 + 10, "2 \u00d7\u2026"},
        {"abc", 9.99, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(runtime::fitText(c.text, 10, false, c.width), c.fitted)
            << c.text << " in " << c.width;
    // A byte that starts no character is measured as the widest, never as nothing.
    EXPECT_GE(textWidth("\xff", 10), textWidth("W", 10));
}

} // namespace
} // namespace clearmark::sheet
