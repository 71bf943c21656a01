// The number text rules beside the standard conversions they build on, on the same inputs.
// Prints each rule's time as a ratio of its standard baseline after the usual table.
#include "core/measurement.h"

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
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

BENCHMARK(BM_parseMeasurement);
BENCHMARK(BM_from_chars);
BENCHMARK(BM_formatMeasurement);
BENCHMARK(BM_to_chars);

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
