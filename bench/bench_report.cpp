// The printed schedule: quillet-schedule --pdf's whole path (compute, texts, pages, PDF) against
// the plain limit, the same row texts painted onto a PDF with a few lines of QPainter.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <QImage>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>

#include "render/ReportExport.h"
#include "runtime/ProgramFolder.h"
#include "schedule/ScheduleComputation.h"

namespace {

// Mean seconds per run, by benchmark name: elapsed, and processor time of this process (the
// machine may be shared, which stretches the elapsed time but not the processor time).
std::map<std::string, double> g_seconds;
std::map<std::string, double> g_cpuSeconds;

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
    double cpu = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        work();
        cpu += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    g_seconds[key] = total / static_cast<double>(state.iterations());
    g_cpuSeconds[key] = cpu / static_cast<double>(state.iterations());
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

// The print preview's first page of the longest schedule: pages cut, page 1 drawn on screen.
void previewFirstPage(benchmark::State& state) {
    std::string instalment;
    const auto schedule = quillet::computedSchedule(inputsOf("32767"), instalment);
    timed(state, "preview first page", [&] {
        const auto content = quillet::loadReportContent(quillet::programFolder() / "EMI.rpt",
                                                        std::nullopt, schedule);
        const quillet::ReportPages pages(content, quillet::reportPageLayout(content.definition));
        QImage image(800, 1130, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        pages.drawPage(painter, 0);
        benchmark::DoNotOptimize(pages.pageCount());
    });
}

}  // namespace

BENCHMARK(previewFirstPage)->Unit(benchmark::kMillisecond);
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
    std::printf("\ntargets: 360 months < 100 ms, 32767 < 5 s, per-row cost 32767/1000 <= 1.5\n");
    for (const auto& [label, times] :
         {std::pair{"elapsed", &g_seconds}, std::pair{"processor time", &g_cpuSeconds}}) {
        auto& t = *times;
        std::printf("\n%s\n%-8s %12s %12s %8s\n", label, "months", "report ms", "plain ms",
                    "ratio");
        for (const char* months : {"360", "1000", "8000", "32767"}) {
            const double report = t[std::string("report ") + months];
            const double plain = t[std::string("plain ") + months];
            std::printf("%-8s %12.1f %12.1f %8.2f\n", months, report * 1e3, plain * 1e3,
                        plain > 0 ? report / plain : 0.0);
        }
        const double perRowLong = t["report 32767"] / 32767;
        const double perRowShort = t["report 1000"] / 1000;
        if (perRowShort > 0 && perRowLong > 0) {
            std::printf("per-row cost 32767 vs 1000: %.2f\n", perRowLong / perRowShort);
        }
        std::printf("preview, first page of 32767 months: %.1f ms\n",
                    t["preview first page"] * 1e3);
    }
    return 0;
}
