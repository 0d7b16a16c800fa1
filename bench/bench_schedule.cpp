// The computation with all its texts, as quillet-schedule produces them.
#include <benchmark/benchmark.h>

#include <string>

#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"

namespace {

void scheduleTexts(benchmark::State& state, const char* months, const char* decimals) {
    quillet::ScheduleInputs inputs;
    inputs.months = months;
    inputs.decimals = decimals;
    std::string text;
    for (auto _ : state) {
        text.clear();
        quillet::ScheduleComputation computation(inputs);
        for (int i = 1; i <= computation.monthCount(); ++i) {
            const auto row = computation.step(static_cast<std::int16_t>(i));
            quillet::appendInsertStatement(text, computation, row);
        }
        text += computation.result();
        benchmark::DoNotOptimize(text.data());
    }
}

}  // namespace

BENCHMARK_CAPTURE(scheduleTexts, months360_dec0, "360", "0")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(scheduleTexts, months360_dec2, "360", "2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(scheduleTexts, months32767_dec2, "32767", "2")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
