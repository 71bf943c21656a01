// The number text rules beside the standard conversions they build on, on the same inputs.
// Prints each rule's time as a ratio of its standard baseline after the usual table. Then
// the planner for the whole engine, and the exhaustive search the tests check it against.
#include "core/exhaustive_sheet.h"
#include "core/measurement.h"
#include "core/valve_sheet.h"

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

const std::vector<std::string>& texts() {
    static const std::vector<std::string> values = {
        "0.175",  "0.275", "2.45",       "2.475",  "0.20",
        "3.2",    "25.4",  "645.16",     "-0.025", "0.0078740157480315",
        "1.5E-1", "2",     "123456.789", "1e-05",  "0.30",
        "2.325"};
    return values;
}

const std::vector<double>& numbers() {
    static const std::vector<double> values = {0.175,
                                               0.275,
                                               2.475,
                                               2.3249999999999997,
                                               3.2750000000000004,
                                               -0.025000000000000022,
                                               0.2 / 25.4,
                                               645.16,
                                               25.4,
                                               2.0,
                                               1e-05,
                                               123456.789,
                                               1.925,
                                               50.8,
                                               -25.4,
                                               0.01};
    return values;
}

void BM_parseMeasurement(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& text : texts()) {
            // Both sides hand on one double, so that only the reading is compared.
            benchmark::DoNotOptimize(clearmark::parseMeasurement(text).value_or(-1.0));
        }
}

void BM_from_chars(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& text : texts()) {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
}

void BM_formatMeasurement(benchmark::State& state) {
    for (auto _ : state)
        for (double value : numbers())
            benchmark::DoNotOptimize(clearmark::formatMeasurement(value));
}

void BM_to_chars(benchmark::State& state) {
    for (auto _ : state)
        for (double value : numbers()) {
            std::array<char, 64> buffer{};
            const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                              std::chars_format::general, 15);
            benchmark::DoNotOptimize(std::string(buffer.data(), result.ptr));
        }
}

// An engine of 8 cylinders, each with 2 intake valves and 1 exhaust, on the Triumph ranges
// and catalogue, with gaps spread either side of each range (about half out of it), shims
// of the catalogue, and the given number of spares.
clearmark::SheetInput triumphEngine(std::size_t valves, std::size_t spares,
                                    bool leaveInRangeAlone) {
    using clearmark::ValveKind;
    constexpr clearmark::Nanometres um = 1000;
    clearmark::SheetInput input;
    input.intake = {150 * um, 200 * um, 175 * um};
    input.exhaust = {250 * um, 300 * um, 275 * um};
    input.catalogue = {2000 * um, 3200 * um, 25 * um};
    input.leaveInRangeAlone = leaveInRangeAlone;
    std::mt19937_64 rng(24);
    const auto within = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    for (std::size_t i = 0; i < valves; ++i) {
        const ValveKind kind = i % 3 == 2 ? ValveKind::Exhaust : ValveKind::Intake;
        const clearmark::ClearanceRange& range =
            kind == ValveKind::Intake ? input.intake : input.exhaust;
        // Half in range, half up to 0.1 mm either side of it, measured to 0.005 mm.
        const int steps = static_cast<int>((range.to - range.from) / (5 * um));
        const int at =
            i % 2 == 0 ? within(0, steps) : (within(0, 1) ? steps + within(1, 20) : -within(1, 20));
        input.valves.push_back({kind, range.from + at * 5 * um, (2300 + 25 * within(0, 28)) * um});
    }
    for (std::size_t s = 0; s < spares; ++s)
        input.spares.push_back((2200 + 25 * within(0, 36)) * um);
    return input;
}

// The time to plan a 24-valve engine with 24 spares.
void BM_planSheet(benchmark::State& state) {
    const clearmark::SheetInput input = triumphEngine(24, 24, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(clearmark::planSheet(input));
}

// The time of the exhaustive search over a 7-valve engine with every shim out and 3 spares.
void BM_exhaustiveSheet7(benchmark::State& state) {
    const clearmark::SheetInput input = triumphEngine(7, 3, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(clearmark::checks::exhaustiveBest(input).score);
}

BENCHMARK(BM_parseMeasurement);
BENCHMARK(BM_from_chars);
BENCHMARK(BM_formatMeasurement);
BENCHMARK(BM_to_chars);
BENCHMARK(BM_planSheet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_exhaustiveSheet7)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::pair<const char*, const char*> pairs[] = {{"BM_parseMeasurement", "BM_from_chars"},
                                                         {"BM_formatMeasurement", "BM_to_chars"}};
    std::printf("\nratio to the standard baseline (target: at most 1.5)\n");
    for (const auto& [ours, baseline] : pairs) {
        const auto a = reporter.seconds.find(ours);
        const auto b = reporter.seconds.find(baseline);
        if (a != reporter.seconds.end() && b != reporter.seconds.end())
            std::printf("  %-22s / %-14s = %.2f\n", ours, baseline, a->second / b->second);
    }
    benchmark::Shutdown();
    return 0;
}
