// The job file: the worked example saved with its plan and read back the same, byte for
// byte; the bytes of a small job as every platform writes them; every refusal with its
// fault; plans that do not fit their sheets; texts outside ASCII kept as typed.
#include "sheet/job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <variant>

namespace clearmark::sheet {
namespace {

// The worked Triumph twin with a spare, as the sheet reader's tests type it, and its plan.
Job twinJob() {
    Job job;
    for (const Setting& setting : kSettings)
        job.sheet.*setting.text = setting.initial;
    job.sheet.spares = "2.475";
    job.sheet.rows = {{"0.100", "2.450"}, {"0.180", "2.500"}, {"0.320", "2.400"},
                      {"0.240", "2.550"}, {"0.230", "2.375"}, {"0,150", "2.600"},
                      {"0.210", "2.450"}, {"0.280", "2.425"}};
    job.bike = "Triumph Thruxton";
    job.date = "2024-03-09";
    job.odometer = "18,250 mi";
    job.plan = std::get<SheetPlan>(planSheet(std::get<SheetInput>(readSheet(job.sheet))));
    return job;
}

std::variant<Job, JobFault> roundTrip(const Job& job) {
    return readJob(writeJob(job));
}

TEST(Job, TheTwinWithItsPlanReadsBackTheSame) {
    const Job job = twinJob();
    const auto sources = [&](ShimSource source) {
        return std::count_if(job.plan->valves.begin(), job.plan->valves.end(),
                             [&](const ValvePlan& v) { return v.source == source; });
    };
    // The plan takes a removed shim and a bought one, so the file holds both.
    ASSERT_GT(sources(ShimSource::Removed), 0);
    ASSERT_GT(sources(ShimSource::Bought), 0);
    const std::string bytes = writeJob(job);
    const auto read = readJob(bytes);
    ASSERT_TRUE(std::holds_alternative<Job>(read));
    EXPECT_EQ(std::get<Job>(read), job);
    EXPECT_EQ(writeJob(std::get<Job>(read)), bytes);
}

TEST(Job, TheFittedDateAndNoPlanReadBack) {
    Job job = twinJob();
    job.fitted = "2024-03-12";
    job.sheet.unit = GapUnit::Inches;
    job.sheet.leaveInRangeAlone = false;
    job.plan.reset();
    const auto read = roundTrip(job);
    ASSERT_TRUE(std::holds_alternative<Job>(read));
    EXPECT_EQ(std::get<Job>(read), job);
}

TEST(Job, TextsOutsideAsciiAreKeptAsTyped) {
    Job job = twinJob();
    job.bike = "Guzzi V7 \u2013 \u00f8";
    job.odometer = "12\u00a0345 km";
    job.sheet.rows[0].gap = "0,100\t";
    const std::string bytes = writeJob(job);
    EXPECT_NE(bytes.find("\"bike\": \"Guzzi V7 \xe2\x80\x93 \xc3\xb8\""), std::string::npos);
    EXPECT_NE(bytes.find("\"gap\": \"0,100\\t\""), std::string::npos);
    const auto read = readJob(bytes);
    ASSERT_TRUE(std::holds_alternative<Job>(read));
    EXPECT_EQ(std::get<Job>(read), job);
}

// One cylinder with one valve of each kind: the intake bought into range, the exhaust kept.
Job singleJob() {
    Job job;
    for (const Setting& setting : kSettings)
        job.sheet.*setting.text = setting.initial;
    job.sheet.cylinders = job.sheet.intakeValves = job.sheet.exhaustValves = "1";
    job.sheet.rows = {{"0.100", "2.450"}, {"0.280", "2.425"}};
    job.bike = "Single";
    job.date = "2024-05-01";
    job.odometer = "24,000 km";
    job.plan = SheetPlan{{{ShimSource::Bought, 2'375'000, 0, 175'000, true},
                          {ShimSource::Keep, 2'425'000, 0, 280'000, true}},
                         {2'375'000},
                         {2'450'000}};
    job.fitted = "2024-05-03";
    return job;
}

// clang-format off
const std::string kSingleBytes =
    "{\n"
    "  \"format\": \"clearmark-job\",\n"
    "  \"version\": 1,\n"
    "  \"bike\": \"Single\",\n"
    "  \"date\": \"2024-05-01\",\n"
    "  \"odometer\": \"24,000 km\",\n"
    "  \"sheet\": {\n"
    "    \"cylinders\": \"1\",\n"
    "    \"intakeValves\": \"1\",\n"
    "    \"exhaustValves\": \"1\",\n"
    "    \"intakeFrom\": \"0.15\",\n"
    "    \"intakeTo\": \"0.20\",\n"
    "    \"intakeAim\": \"0.175\",\n"
    "    \"exhaustFrom\": \"0.25\",\n"
    "    \"exhaustTo\": \"0.30\",\n"
    "    \"exhaustAim\": \"0.275\",\n"
    "    \"shimsFrom\": \"2.00\",\n"
    "    \"shimsTo\": \"3.20\",\n"
    "    \"shimStep\": \"0.025\",\n"
    "    \"spares\": \"\",\n"
    "    \"leaveInRangeAlone\": true,\n"
    "    \"unit\": \"mm\",\n"
    "    \"rows\": [\n"
    "      {\n"
    "        \"gap\": \"0.100\",\n"
    "        \"shim\": \"2.450\"\n"
    "      },\n"
    "      {\n"
    "        \"gap\": \"0.280\",\n"
    "        \"shim\": \"2.425\"\n"
    "      }\n"
    "    ]\n"
    "  },\n"
    "  \"plan\": {\n"
    "    \"valves\": [\n"
    "      {\n"
    "        \"source\": \"bought\",\n"
    "        \"shim\": 2375000,\n"
    "        \"newGap\": 175000,\n"
    "        \"inRange\": true\n"
    "      },\n"
    "      {\n"
    "        \"source\": \"keep\",\n"
    "        \"shim\": 2425000,\n"
    "        \"newGap\": 280000,\n"
    "        \"inRange\": true\n"
    "      }\n"
    "    ],\n"
    "    \"bought\": [\n"
    "      2375000\n"
    "    ],\n"
    "    \"leftOver\": [\n"
    "      2450000\n"
    "    ]\n"
    "  },\n"
    "  \"fitted\": \"2024-05-03\"\n"
    "}\n";
// clang-format on

TEST(Job, ASmallJobIsWrittenAsTheseBytes) {
    EXPECT_EQ(writeJob(singleJob()), kSingleBytes);
    const auto read = readJob(kSingleBytes);
    ASSERT_TRUE(std::holds_alternative<Job>(read));
    EXPECT_EQ(std::get<Job>(read), singleJob());
}

TEST(Job, OneMebibyteIsTheLargestRead) {
    std::string bytes = kSingleBytes;
    bytes.resize(kLargestJob, ' ');
    EXPECT_TRUE(std::holds_alternative<Job>(readJob(bytes)));
    bytes += ' ';
    EXPECT_EQ(std::get<JobFault>(readJob(bytes)), JobFault::TooLarge);
}

TEST(Job, FaultsAreToldInWords) {
    EXPECT_STREQ(faultText(JobFault::NotAJob), "is not a Clearmark job");
    EXPECT_STREQ(faultText(JobFault::Damaged), "is damaged");
    EXPECT_STREQ(faultText(JobFault::Newer), "was written by a newer version of Clearmark");
    EXPECT_STREQ(faultText(JobFault::TooLarge), "is larger than 1 MiB");
    EXPECT_STREQ(faultText(JobFault::PlanDoesNotFit), "holds a plan that does not fit its sheet");
}

TEST(Job, ASpareTakenReadsBack) {
    Job job = singleJob();
    job.sheet.spares = "2.375";
    job.plan = std::get<SheetPlan>(planSheet(std::get<SheetInput>(readSheet(job.sheet))));
    ASSERT_EQ(job.plan->valves[0].source, ShimSource::Spare);
    const auto read = roundTrip(job);
    ASSERT_TRUE(std::holds_alternative<Job>(read));
    EXPECT_EQ(std::get<Job>(read), job);
    job.plan->valves[0].from = 1; // past the one spare
    EXPECT_EQ(std::get<JobFault>(roundTrip(job)), JobFault::PlanDoesNotFit);
}

// The small job's bytes with one text replaced, or other bytes altogether.
struct Refused {
    const char* name;
    std::string from; // empty: `to` is the whole file
    std::string to;
    JobFault fault;
};

void PrintTo(const Refused& refused, std::ostream* out) {
    *out << refused.name;
}

class ReadJobRefuses : public testing::TestWithParam<Refused> {};

TEST_P(ReadJobRefuses, WithItsFault) {
    std::string bytes = GetParam().to;
    if (!GetParam().from.empty()) {
        bytes = kSingleBytes;
        const std::size_t at = bytes.find(GetParam().from);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, GetParam().from.size(), GetParam().to);
    }
    const auto read = readJob(bytes);
    ASSERT_TRUE(std::holds_alternative<JobFault>(read));
    EXPECT_EQ(std::get<JobFault>(read), GetParam().fault);
}

constexpr JobFault NotAJob = JobFault::NotAJob;
constexpr JobFault Damaged = JobFault::Damaged;
constexpr JobFault Unfit = JobFault::PlanDoesNotFit;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ReadJobRefuses, testing::Values(
    Refused{"Empty",            "",                          "",                         NotAJob},
    Refused{"NotJson",          "",                          "PK\x03\x04 zip",            NotAJob},
    Refused{"ABareNumber",      "",                          "1",                        NotAJob},
    Refused{"AnArray",          "",                          "[{\"format\": 1}]",        NotAJob},
    Refused{"Cut",              "",                          kSingleBytes.substr(0, 90), Damaged},
    Refused{"NoFormat",         "\"format\": \"clearmark-job\",", "",                    NotAJob},
    Refused{"OtherFormat",      "clearmark-job",             "clearmark-jobs",           NotAJob},
    Refused{"FormatNotText",    "\"clearmark-job\"",         "7",                        NotAJob},
    Refused{"Newer",            "\"version\": 1",            "\"version\": 2",           JobFault::Newer},
    Refused{"VersionZero",      "\"version\": 1",            "\"version\": 0",           Damaged},
    Refused{"VersionText",      "\"version\": 1",            "\"version\": \"1\"",       Damaged},
    Refused{"VersionFraction",  "\"version\": 1",            "\"version\": 1.5",         Damaged},
    Refused{"NoVersion",        "\"version\": 1,",           "",                         Damaged},
    Refused{"BikeNumber",       "\"Single\"",                "7",                        Damaged},
    Refused{"NoDate",           "\"date\": \"2024-05-01\",", "",                         Damaged},
    Refused{"CylindersNumber",  "\"cylinders\": \"1\"",      "\"cylinders\": 1",         Damaged},
    Refused{"BoxNotTrueOrFalse","true,",                     "\"yes\",",                 Damaged},
    Refused{"OtherUnit",        "\"mm\"",                    "\"cm\"",                   Damaged},
    Refused{"RowsNotAList",     "\"rows\": [",               "\"rows\": {\"a\": [",      Damaged},
    Refused{"RowNotAnObject",   "{\n        \"gap\"",        "[\n        \"gap\"",       Damaged},
    Refused{"OtherSource",      "\"bought\"",                "\"borrowed\"",             Damaged},
    Refused{"ShimFraction",     "2375000,",                  "2375000.0,",               Damaged},
    Refused{"ShimTooLarge",     "2375000,",                  "9223372036854775808,",     Damaged},
    Refused{"KeepFromAValve",   "\"keep\",",                 "\"keep\", \"from\": 0,",   Damaged},
    Refused{"RemovedFromNone",  "\"bought\",",               "\"removed\",",             Damaged},
    Refused{"FittedNumber",     "\"2024-05-03\"",            "20240503",                 Damaged},
    Refused{"NoSpareToTake",    "\"bought\",",               "\"spare\", \"from\": 0,",  Unfit},
    Refused{"RemovedFromItself","\"bought\",",               "\"removed\", \"from\": 0,",Unfit},
    Refused{"RemovedFromKeep",  "\"bought\",",               "\"removed\", \"from\": 1,",Unfit},
    Refused{"NewGapOff",        "175000",                    "175001",                   Unfit},
    Refused{"InRangeWrong",     "true\n      },\n      {",   "false\n      },\n      {", Unfit},
    Refused{"SizeOffTheStep",   "2375000,\n        \"newGap\": 175000",
                                "2375001,\n        \"newGap\": 174999",                  Unfit},
    Refused{"BoughtNotListed",  "[\n      2375000\n    ]",   "[]",                       Unfit},
    Refused{"LeftOverMissing",  "[\n      2450000\n    ]",   "[]",                       Unfit},
    Refused{"OneValveMore",     "\"cylinders\": \"1\"",      "\"cylinders\": \"2\"",     Unfit},
    Refused{"SheetUnreadable",  "\"0.100\"",                 "\"x\"",                    Unfit}),
    [](const testing::TestParamInfo<Refused>& info) { return std::string(info.param.name); });
// clang-format on

// The twin's plan spoilt one way at a time, saved and read: it no longer fits its sheet.
struct Spoilt {
    const char* name;
    std::function<void(SheetPlan&)> spoil;
};

void PrintTo(const Spoilt& spoilt, std::ostream* out) {
    *out << spoilt.name;
}

std::size_t first(const SheetPlan& plan, ShimSource source) {
    return std::size_t(std::find_if(plan.valves.begin(), plan.valves.end(),
                                    [&](const ValvePlan& v) { return v.source == source; }) -
                       plan.valves.begin());
}

class TwinPlanSpoilt : public testing::TestWithParam<Spoilt> {};

TEST_P(TwinPlanSpoilt, DoesNotFit) {
    Job job = twinJob();
    ASSERT_TRUE(planFits(job.sheet, *job.plan));
    GetParam().spoil(*job.plan);
    EXPECT_FALSE(planFits(job.sheet, *job.plan));
    const auto read = roundTrip(job);
    ASSERT_TRUE(std::holds_alternative<JobFault>(read));
    EXPECT_EQ(std::get<JobFault>(read), JobFault::PlanDoesNotFit);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, TwinPlanSpoilt,
    testing::Values(Spoilt{"SpareIndexPastTheSpares",
                           [](SheetPlan& p) {
                               {
                                   ValvePlan& v = p.valves[first(p, ShimSource::Removed)];
                                   v.source = ShimSource::Spare;
                                   v.from = 1; // the twin has one spare
                               }
                           }},
                    Spoilt{"RemovedShimTakenTwice",
                           [](SheetPlan& p) {
                               p.valves[first(p, ShimSource::Keep)] =
                                   p.valves[first(p, ShimSource::Removed)];
                           }},
                    Spoilt{"RemovedIndexPastTheValves",
                           [](SheetPlan& p) {
                               p.valves[first(p, ShimSource::Removed)].from = 8;
                           }},
                    Spoilt{"RemovedShimOfAnotherSize",
                           [](SheetPlan& p) {
                               ValvePlan& v = p.valves[first(p, ShimSource::Removed)];
                               v.shim += 25'000;
                               v.newGap -= 25'000;
                           }},
                    Spoilt{"KeptShimOfAnotherSize",
                           [](SheetPlan& p) {
                               ValvePlan& v = p.valves[first(p, ShimSource::Keep)];
                               v.shim += 25'000;
                               v.newGap -= 25'000;
                           }},
                    Spoilt{"BoughtPastTheCatalogue",
                           [](SheetPlan& p) {
                               ValvePlan& v = p.valves[first(p, ShimSource::Bought)];
                               const Nanometres more = 3'225'000 - v.shim;
                               v.shim += more;
                               v.newGap -= more;
                               p.bought = {3'225'000};
                           }},
                    Spoilt{"OneValveFewer",
                           [](SheetPlan& p) {
                               p.valves.pop_back();
                           }},
                    Spoilt{"BoughtOneMore",
                           [](SheetPlan& p) {
                               p.bought.push_back(2'000'000);
                           }},
                    Spoilt{"LeftOverUnsorted",
                           [](SheetPlan& p) {
                               std::reverse(p.leftOver.begin(), p.leftOver.end());
                           }}),
    [](const testing::TestParamInfo<Spoilt>& info) { return std::string(info.param.name); });

} // namespace
} // namespace clearmark::sheet
