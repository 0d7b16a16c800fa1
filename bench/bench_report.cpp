// The printed schedule: quillet-schedule --pdf's whole path (compute, texts, pages, PDF) against
// a drawing floor that uses none of Quillet's code: the schedule from a plain loop
// (PlainSchedule.h), its cells formatted with std::to_chars and drawn as glyph runs from a table
// of glyphs and advances made once for the font, onto the same kind of PDF. The preview's first
// page is held to the floor drawing that one page alone on an image. Both sides run interleaved
// in one process; the ratio printed is the median of the pairs' ratios of thread CPU time.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <QGlyphRun>
#include <QImage>
#include <QRawFont>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PairedRatio.h"
#include "PlainSchedule.h"
#include "render/ReportExport.h"
#include "report/ReportCalculation.h"
#include "report/StoredSchedule.h"
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

// An earlier limit, kept for comparison: the report's own row texts, drawn with drawText.
void plainPdf(benchmark::State& state, const char* months) {
    const auto inputs = inputsOf(months);
    std::string instalment;
    auto schedule = std::make_shared<const quillet::StoredSchedule>(
        quillet::computedSchedule(inputs, instalment));
    const auto content =
        quillet::loadReportContent(quillet::programFolder() / "EMI.rpt", std::nullopt, schedule);
    const QString file = QString::fromStdString(target("quillet-bench-plain.pdf").string());
    std::vector<std::vector<std::string>> rows;
    for (std::size_t r = 0; r < content.table.rows.size(); ++r) {
        rows.push_back(content.table.rows[r]);
    }
    timed(state, std::string("plain ") + months, [&] {
        QPdfWriter writer(file);
        writer.setResolution(600);
        QPainter painter(&writer);
        const double line = writer.height() / 56.0;
        const double column = writer.width() / 7.0;
        int onPage = 0;
        for (const auto& row : rows) {
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

// The window's screen resolution at 100 % (the offscreen platform's, and the usual desktop's).
constexpr double kScreenDotsPerInch = 96;

/// \brief What the window does to show the first page of its print preview: the report made
/// from the definition and the calculation's rows (ReportControl::load), the pages cut, and page
/// 1 drawn into the image the preview shows (ReportPageView, through ReportPages::pageImage).
QImage previewPage(const std::shared_ptr<const quillet::StoredSchedule>& schedule,
                   const quillet::ReportCalculation& calculation) {
    const auto content =
        quillet::loadReportContent(quillet::programFolder() / "EMI.rpt", calculation, schedule);
    const quillet::ReportPages pages(content, quillet::reportPageLayout(content.definition));
    return pages.pageImage(0, kScreenDotsPerInch);
}

/// The longest schedule as the window holds it after a run, with its calculation.
struct LongestSchedule {
    LongestSchedule() {
        const auto inputs = inputsOf("32767");
        calculation = {inputs.amount,   inputs.months, inputs.rate,
                       inputs.decimals, inputs.start,  {}};
        schedule = std::make_shared<const quillet::StoredSchedule>(
            quillet::computedSchedule(inputs, calculation.instalment));
    }
    quillet::ReportCalculation calculation;
    std::shared_ptr<const quillet::StoredSchedule> schedule;
};

// The print preview's first page of the longest schedule: pages cut, page 1 drawn on screen.
void previewFirstPage(benchmark::State& state) {
    const LongestSchedule longest;
    timed(state, "preview first page",
          [&] { benchmark::DoNotOptimize(previewPage(longest.schedule, longest.calculation)); });
}

// ---- The glyph-run floor -------------------------------------------------------------------

// Glyph and advance of every character a cell can hold, looked up once for the font.
class GlyphTable {
public:
    explicit GlyphTable(const QRawFont& font) : m_font(font) {
        const QString characters = QStringLiteral("0123456789.-/ JanFebMrApyulgSOctNovD");
        for (const QChar c : characters) {
            quint32 glyph = 0;
            int count = 1;
            if (font.glyphIndexesForChars(&c, 1, &glyph, &count) && count == 1) {
                m_glyph[c.unicode()] = glyph;
                m_advance[c.unicode()] = font.advancesForGlyphIndexes({glyph}).value(0).x();
            }
        }
    }
    // Draws text with its left end at x, its baseline at y.
    void draw(QPainter& painter, double x, double y, std::string_view text) {
        m_indexes.clear();
        m_positions.clear();
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            m_indexes.push_back(m_glyph[u]);
            m_positions.push_back(QPointF(x, y));
            x += m_advance[u];
        }
        QGlyphRun run;
        run.setRawFont(m_font);
        run.setGlyphIndexes(m_indexes);
        run.setPositions(m_positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    double width(std::string_view text) const {
        double w = 0;
        for (const char c : text) {
            w += m_advance[static_cast<unsigned char>(c)];
        }
        return w;
    }

private:
    QRawFont m_font;
    quint32 m_glyph[256] = {};
    double m_advance[256] = {};
    QList<quint32> m_indexes;
    QList<QPointF> m_positions;
};

constexpr int kFloorRowsPerPage = 55;

// The row's six cells, formatted plainly.
int plainCells(const quillet::bench::PlainMonth& m, int sn, char cells[6][32], int lengths[6]) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    lengths[0] = static_cast<int>(std::to_chars(cells[0], cells[0] + 32, sn).ptr - cells[0]);
    const double figures[] = {m.opening, m.interest, m.principal, m.closing};
    for (int c = 0; c < 4; ++c) {
        lengths[c + 1] = static_cast<int>(
            std::to_chars(cells[c + 1], cells[c + 1] + 32, figures[c], std::chars_format::fixed, 2)
                .ptr -
            cells[c + 1]);
    }
    lengths[5] = std::snprintf(cells[5], 32, "%02d/%s/%04d", m.day, months[m.month - 1], m.year);
    return 6;
}

// Draws rows [first, last) of a schedule of months rows as table lines, right-aligned cells.
void drawFloorRows(QPainter& painter, GlyphTable& glyphs, int months, int first, int last,
                   QPaintDevice& device, QPdfWriter* writer) {
    const double line = device.height() / 60.0;
    const double column = device.width() / 6.0;
    quillet::bench::PlainSchedule schedule(months);
    quillet::bench::PlainMonth month{};
    char cells[6][32];
    int lengths[6];
    int onPage = 0;
    for (int i = 1; i <= std::min(months, last); ++i) {
        schedule.step(i, month);
        if (i <= first) {
            continue;
        }
        if (onPage == kFloorRowsPerPage) {
            if (writer != nullptr) {
                writer->newPage();
            }
            onPage = 0;
        }
        ++onPage;
        plainCells(month, i, cells, lengths);
        const double y = line * (onPage + 2);
        painter.drawLine(QPointF(0, y + line * 0.25), QPointF(device.width(), y + line * 0.25));
        for (int c = 0; c < 6; ++c) {
            const std::string_view text(cells[c], static_cast<std::size_t>(lengths[c]));
            glyphs.draw(painter, column * (c + 1) - glyphs.width(text) - 20, y, text);
        }
    }
}

QRawFont floorFont(QPaintDevice& device) {
    QFont font(QStringLiteral("sans-serif"));
    font.setPointSizeF(9);
    return QRawFont::fromFont(QFont(font, &device));
}

void floorPdf(int months, const QString& file) {
    QPdfWriter writer(file);
    writer.setResolution(600);
    QPainter painter(&writer);
    GlyphTable glyphs(floorFont(writer));
    drawFloorRows(painter, glyphs, months, 0, months, writer, &writer);
}

void floorFirstPage(int months) {
    QImage image(800, 1130, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    GlyphTable glyphs(floorFont(image));
    drawFloorRows(painter, glyphs, months, 0, kFloorRowsPerPage, image, nullptr);
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
    {
        const auto inputs = inputsOf("32767");
        const auto file = target("quillet-bench-report.pdf");
        const QString floorFile =
            QString::fromStdString(target("quillet-bench-floor.pdf").string());
        std::printf("\nInterleaved with the glyph-run floor (medians of pairs, thread CPU)\n");
        quillet::bench::printPaired("whole PDF, 32767 months",
                                    quillet::bench::pairedRatio(
                                        5,
                                        [&] {
                                            std::string error;
                                            quillet::writeScheduleReport(
                                                quillet::programFolder() / "EMI.rpt", inputs, file,
                                                {}, error);
                                        },
                                        [&] { floorPdf(32767, floorFile); }),
                                    1.3);
        const LongestSchedule longest;
        quillet::bench::printPaired(
            "first preview page, 32767 months",
            quillet::bench::pairedRatio(
                11,
                [&] {
                    benchmark::DoNotOptimize(previewPage(longest.schedule, longest.calculation));
                },
                [&] { floorFirstPage(32767); }),
            2.0);
    }
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
