// The printed schedule: quillet-schedule --pdf's whole path (compute, texts, pages, PDF) against
// the plain limit, the same row texts painted onto a PDF with a few lines of QPainter.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "report/ReportExport.h"
#include "runtime/ProgramFolder.h"
#include "schedule/ScheduleComputation.h"

namespace {

std::map<std::string, double> g_seconds;  // mean seconds per run, by benchmark name

std::filesystem::path target(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

quillet::ScheduleInputs inputsOf(const char* months) {
    quillet::ScheduleInputs inputs;
    inputs.months = months;
    inputs.decimals = "2";
    return inputs;
}

template <typename Work>
void timed(benchmark::State& state, const std::string& key, Work work) {
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        work();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    g_seconds[key] = total / static_cast<double>(state.iterations());
}

void reportPdf(benchmark::State& state, const char* months) {
    const auto inputs = inputsOf(months);
    const auto file = target("quillet-bench-report.pdf");
    timed(state, std::string("report ") + months, [&] {
        std::string error;
        if (!quillet::writeScheduleReport(quillet::programFolder() / "EMI.rpt", inputs, file, {},
                                          error)) {
            state.SkipWithError(error.c_str());
        }
    });
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

// The plain limit: the report's own row texts, one line per row, 55 rows to a page.
void plainPdf(benchmark::State& state, const char* months) {
    const auto inputs = inputsOf(months);
    std::string instalment;
    const auto schedule = quillet::computedSchedule(inputs, instalment);
    const auto content =
        quillet::loadReportContent(quillet::programFolder() / "EMI.rpt", std::nullopt, schedule);
    const QString file = QString::fromStdString(target("quillet-bench-plain.pdf").string());
    timed(state, std::string("plain ") + months, [&] {
        QPdfWriter writer(file);
        writer.setResolution(600);
        QPainter painter(&writer);
        const double line = writer.height() / 56.0;
        const double column = writer.width() / 7.0;
        int onPage = 0;
        for (const auto& row : content.table.rows) {
            if (onPage == 55) {
                writer.newPage();
                onPage = 0;
            }
            ++onPage;
            for (std::size_t c = 0; c < row.size(); ++c) {
                painter.drawText(QPointF(column * static_cast<double>(c), line * onPage),
                                 QString::fromStdString(row[c]));
            }
        }
    });
}

}  // namespace

BENCHMARK_CAPTURE(reportPdf, months360, "360")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainPdf, months360, "360")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(reportPdf, months1000, "1000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(plainPdf, months1000, "1000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(reportPdf, months8000, "8000")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(plainPdf, months8000, "8000")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(reportPdf, months32767, "32767")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(plainPdf, months32767, "32767")->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n%-8s %12s %12s %8s   targets: 360 < 100 ms, 32767 < 5 s\n", "months",
                "report ms", "plain ms", "ratio");
    for (const char* months : {"360", "1000", "8000", "32767"}) {
        const double report = g_seconds[std::string("report ") + months];
        const double plain = g_seconds[std::string("plain ") + months];
        std::printf("%-8s %12.1f %12.1f %8.2f\n", months, report * 1e3, plain * 1e3,
                    plain > 0 ? report / plain : 0.0);
    }
    const double perRowLong = g_seconds["report 32767"] / 32767;
    const double perRowShort = g_seconds["report 1000"] / 1000;
    if (perRowShort > 0 && perRowLong > 0) {
        std::printf("per-row cost 32767 vs 1000: %.2f (target within 1.5)\n",
                    perRowLong / perRowShort);
    }
    return 0;
}
