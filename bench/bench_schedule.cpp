// The computation: its values as the schedule run stores them, against a plain loop with the
// same pow and half-even rounding (PlainSchedule.h), interleaved in one process; and the texts
// quillet-schedule writes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "PairedRatio.h"
#include "PlainSchedule.h"
#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"

namespace {

quillet::ScheduleInputs inputsFor(const char* months, const char* decimals) {
    quillet::ScheduleInputs inputs;
    inputs.months = months;
    inputs.decimals = decimals;
    return inputs;
}

// Every month's rounded figures and date, as the run binds them.
double computedValues(const quillet::ScheduleInputs& inputs) {
    double sum = 0;
    quillet::ScheduleComputation computation(inputs);
    for (int i = 1; i <= computation.monthCount(); ++i) {
        const auto row = computation.step(static_cast<std::int16_t>(i));
        for (const double figure :
             {row.openingBalance, row.interest, row.principal, row.closingBalance}) {
            sum += computation.roundedValue(figure).value_or(0);
        }
        sum += row.date.day;
    }
    return sum;
}

// volatile: read at run time, as a program reads its inputs.
volatile double g_amount = 1000000;
volatile double g_rate = 6;
volatile int g_decimals = 2;

double plainValues(int months) {
    double sum = 0;
    quillet::bench::PlainSchedule schedule(g_amount, g_rate, months, g_decimals, 2024, 1, 1);
    quillet::bench::PlainMonth month{};
    for (int i = 1; i <= schedule.months(); ++i) {
        schedule.step(i, month);
        sum += month.opening + month.interest + month.principal + month.closing + month.day;
    }
    return sum;
}

void values(benchmark::State& state, const char* months) {
    const auto inputs = inputsFor(months, "2");
    for (auto _ : state) {
        benchmark::DoNotOptimize(computedValues(inputs));
    }
}

void plain(benchmark::State& state, const char* months) {
    const int count = std::atoi(months);
    for (auto _ : state) {
        benchmark::DoNotOptimize(plainValues(count));
    }
}

void scheduleTexts(benchmark::State& state, const char* months, const char* decimals) {
    const auto inputs = inputsFor(months, decimals);
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

quillet::bench::PairedFigures paired(const char* months, int pairs) {
    const auto inputs = inputsFor(months, "2");
    const int count = std::atoi(months);
    // Repeated within each timing so that one timing is well above the clock's resolution.
    const int repeats = count < 1000 ? 200 : 4;
    return quillet::bench::pairedRatio(
        pairs,
        [&] {
            for (int r = 0; r < repeats; ++r) {
                benchmark::DoNotOptimize(computedValues(inputs));
            }
        },
        [&] {
            for (int r = 0; r < repeats; ++r) {
                benchmark::DoNotOptimize(plainValues(count));
            }
        });
}

}  // namespace

BENCHMARK_CAPTURE(values, months360, "360")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(plain, months360, "360")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(values, months32767, "32767")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plain, months32767, "32767")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scheduleTexts, months360_dec0, "360", "0")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(scheduleTexts, months360_dec2, "360", "2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(scheduleTexts, months32767_dec2, "32767", "2")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nThe computation's values vs a plain loop, interleaved (medians of pairs)\n");
    quillet::bench::printPaired("360 months vs plain loop", paired("360", 21), 1.5);
    quillet::bench::printPaired("32767 months vs plain loop", paired("32767", 21), 1.5);
    return 0;
}
