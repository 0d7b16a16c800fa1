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
#include <QPainterPath>
#include <QRawFont>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
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
        for (char16_t u = 32; u < 127; ++u) {
            const QChar c(u);
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
        append(x, y, text);
        flush(painter);
    }
    // Adds text to the run drawn by the next flush: a table row goes out as one glyph run.
    void append(double x, double y, std::string_view text) {
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            m_indexes.push_back(m_glyph[u]);
            m_positions.push_back(QPointF(x, y));
            x += m_advance[u];
        }
    }
    void flush(QPainter& painter) {
        QGlyphRun run;
        run.setRawFont(m_font);
        run.setGlyphIndexes(m_indexes);
        run.setPositions(m_positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
        m_indexes.clear();
        m_positions.clear();
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

constexpr int kFloorRowsPerPage = 42;

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

// Each page's frame as the report has one: the running header, the table's headings and the
// footer with the page number.
void drawFloorPageFrame(QPainter& painter, GlyphTable& glyphs, double line, double column,
                        double pageWidth, int page) {
    glyphs.draw(painter, 20, line, "Loan Repayment Schedule");
    static const std::string_view headings[] = {
        "No.",      "Due date",  "Opening balance", "Payment",
        "Interest", "Principal", "Closing balance"};
    for (int c = 0; c < 7; ++c) {
        glyphs.append(column * (c + 1) - glyphs.width(headings[c]) - 20, line * 2.5, headings[c]);
    }
    glyphs.flush(painter);
    char footer[32];
    const int length = std::snprintf(footer, sizeof footer, "Page %d of 781", page);
    glyphs.draw(painter, pageWidth / 2, line * 59,
                std::string_view(footer, static_cast<std::size_t>(length)));
}

// Draws the whole schedule of months rows as table lines, seven right-aligned cells a row, in
// pages of as many rows as the report's pages after the first hold.
void drawFloorRows(QPainter& painter, GlyphTable& glyphs, int months, QPaintDevice& device,
                   QPdfWriter& writer) {
    const double line = device.height() / 60.0;
    const double column = device.width() / 7.0;
    quillet::bench::PlainSchedule schedule(months);
    quillet::bench::PlainMonth month{};
    char cells[7][32];
    int lengths[7];
    int onPage = 0;
    int page = 1;
    drawFloorPageFrame(painter, glyphs, line, column, device.width(), page);
    for (int i = 1; i <= months; ++i) {
        schedule.step(i, month);
        if (onPage == kFloorRowsPerPage) {
            writer.newPage();
            drawFloorPageFrame(painter, glyphs, line, column, device.width(), ++page);
            onPage = 0;
        }
        ++onPage;
        plainCells(month, i, cells, lengths);
        lengths[6] = static_cast<int>(
            std::to_chars(cells[6], cells[6] + 32, month.instalment, std::chars_format::fixed, 2)
                .ptr -
            cells[6]);
        const double y = line * (onPage + 3);
        painter.drawLine(QPointF(0, y + line * 0.25), QPointF(device.width(), y + line * 0.25));
        for (int c = 0; c < 7; ++c) {
            const std::string_view text(cells[c], static_cast<std::size_t>(lengths[c]));
            glyphs.append(column * (c + 1) - glyphs.width(text) - 20, y, text);
        }
        glyphs.flush(painter);
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
    drawFloorRows(painter, glyphs, months, writer, writer);
}

/// The schedule's months from the plain loop, made before timing as the window's rows are.
std::vector<quillet::bench::PlainMonth> plainMonths(int months) {
    quillet::bench::PlainSchedule schedule(months);
    std::vector<quillet::bench::PlainMonth> all(static_cast<std::size_t>(months));
    for (int i = 1; i <= months; ++i) {
        schedule.step(i, all[static_cast<std::size_t>(i - 1)]);
    }
    return all;
}

/// Fonts of the floor's first page, each with its glyph table, made once as the report's are.
struct FloorPageFonts {
    explicit FloorPageFonts(QPaintDevice& device)
        : small(rawFont(device, 7, false)),
          body(rawFont(device, 8, false)),
          bold(rawFont(device, 8, true)),
          subtitle(rawFont(device, 10, false)),
          title(rawFont(device, 16, true)) {}
    static QRawFont rawFont(QPaintDevice& device, double points, bool isBold) {
        QFont font(QStringLiteral("sans-serif"));
        font.setPointSizeF(points);
        font.setBold(isBold);
        return QRawFont::fromFont(QFont(font, &device));
    }
    GlyphTable small, body, bold, subtitle, title;
};

// Text right-aligned at x, its baseline at y.
void drawRight(QPainter& painter, GlyphTable& glyphs, double x, double y, std::string_view text) {
    glyphs.draw(painter, x - glyphs.width(text), y, text);
}

std::string_view fixed2(char (&buffer)[32], double value) {
    return {buffer, static_cast<std::size_t>(
                        std::to_chars(buffer, buffer + 32, value, std::chars_format::fixed, 2).ptr -
                        buffer)};
}

/// \brief Page 1 as the preview shows it, drawn alone with none of Quillet's code: header,
/// title, the summary of ten figures (totals from one pass over every month), the balance line
/// sampled at most every half point, the bars of interest and principal, 19 table rows and the
/// footer, on an A4 image at 96 dpi with antialiasing, as the preview draws.
void floorFirstPage(const std::vector<quillet::bench::PlainMonth>& months) {
    QImage image(794, 1123, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    static FloorPageFonts fonts(image);
    const double left = 36, right = 758, width = right - left;
    char buffer[32];

    // The one pass: totals, the balance line's samples and the sums per bar.
    const auto count = static_cast<int>(months.size());
    const int years = (count + 11) / 12;
    const int yearsPerBar = std::max(1, (years + 39) / 40);
    const int bars = (years + yearsPerBar - 1) / yearsPerBar;
    std::vector<double> interestPerBar(static_cast<std::size_t>(bars));
    std::vector<double> principalPerBar(static_cast<std::size_t>(bars));
    double totalInterest = 0, totalPaid = 0, highest = 0;
    for (int i = 0; i < count; ++i) {
        const auto& m = months[static_cast<std::size_t>(i)];
        totalInterest += m.interest;
        totalPaid += m.interest + m.principal;
        highest = std::max(highest, m.opening);
        const auto bar = static_cast<std::size_t>(i / 12 / yearsPerBar);
        interestPerBar[bar] += m.interest;
        principalPerBar[bar] += m.principal;
    }

    fonts.small.draw(painter, left, 30, "Loan Repayment Schedule");
    drawRight(painter, fonts.small, right, 30, "Loan of 1,000,000.00 at 6% for 32767 months");
    painter.drawLine(QPointF(left, 34), QPointF(right, 34));
    fonts.title.draw(painter, 250, 62, "Loan Repayment Schedule");
    fonts.subtitle.draw(painter, 200, 80, "Equated monthly instalments, first instalment due");

    painter.fillRect(QRectF(left, 90, width, 76), QColor(245, 246, 248));
    painter.drawRect(QRectF(left, 90, width, 76));
    const std::string_view labels[] = {
        "Loan amount",    "Interest rate", "Duration",    "Monthly (EMI)", "First due",
        "Total interest", "Total payable", "Instalments", "Last due",      "Rounded to"};
    for (int i = 0; i < 10; ++i) {
        const double x = left + 4 + (i / 5) * width / 2;
        const double y = 102 + (i % 5) * 14.5;
        fonts.body.draw(painter, x, y, labels[i]);
        const double value = i == 5 ? totalInterest : i == 6 ? totalPaid : months[0].opening;
        fonts.bold.draw(painter, x + 120, y, fixed2(buffer, value));
    }

    // Two panels: frame, grid and labels; the balance line; the bars.
    const double top = 185, bottom = 350, panelWidth = width / 2 - 20;
    for (const double x0 : {left + 30, left + width / 2 + 30}) {
        fonts.bold.draw(painter, x0 - 30, top - 6, "Balance owed");
        painter.setPen(QPen(QColor(220, 220, 220), 0.6));
        for (int g = 0; g <= 5; ++g) {
            const double y = bottom - (bottom - top) * g / 5;
            painter.drawLine(QPointF(x0, y), QPointF(x0 + panelWidth, y));
            drawRight(painter, fonts.small, x0 - 3, y + 3, fixed2(buffer, highest * g / 5));
        }
        painter.setPen(Qt::black);
        for (int l = 0; l < 4; ++l) {
            fonts.small.draw(painter, x0 + l * panelWidth / 4, bottom + 10, fixed2(buffer, l));
        }
    }
    const double x0 = left + 30;
    const int points = std::max(2, static_cast<int>(panelWidth / 0.5));
    const int stride = std::max(1, count / points);
    const auto yOf = [&](double v) { return bottom - (bottom - top) * v / highest; };
    QPainterPath line(QPointF(x0, yOf(months[0].opening)));
    for (int m = stride; m < count; m += stride) {
        line.lineTo(x0 + panelWidth * m / count,
                    yOf(months[static_cast<std::size_t>(m - 1)].closing));
    }
    line.lineTo(x0 + panelWidth, yOf(months.back().closing));
    painter.setPen(QPen(QColor(40, 90, 160), 1.2));
    painter.drawPath(line);
    painter.setPen(Qt::NoPen);
    const double barsLeft = left + width / 2 + 30, slot = panelWidth / bars;
    double barTop = 0;
    for (int b = 0; b < bars; ++b) {
        barTop = std::max(barTop, interestPerBar[b] + principalPerBar[b]);
    }
    for (int b = 0; b < bars; ++b) {
        const double x = barsLeft + slot * (b + 0.15);
        const double p = bottom - (bottom - top) * principalPerBar[b] / barTop;
        const double t =
            bottom - (bottom - top) * (principalPerBar[b] + interestPerBar[b]) / barTop;
        painter.fillRect(QRectF(x, p, slot * 0.7, bottom - p), QColor(70, 120, 180));
        painter.fillRect(QRectF(x, t, slot * 0.7, p - t), QColor(180, 70, 70));
    }
    painter.setPen(Qt::black);

    // The table's heading and its first 19 rows, cells right-aligned, a rule under each.
    const double column = width / 7, line0 = 380, rowHeight = 14.4;
    painter.fillRect(QRectF(left, line0 - 11, width, 14), QColor(220, 228, 240));
    const std::string_view headings[] = {"No.",      "Due date",  "Opening balance", "Payment",
                                         "Interest", "Principal", "Closing balance"};
    for (int c = 0; c < 7; ++c) {
        drawRight(painter, fonts.bold, left + column * (c + 1) - 4, line0, headings[c]);
    }
    char cells[6][32];
    int lengths[6];
    painter.setPen(QPen(QColor(200, 200, 200), 0.5));
    for (int r = 0; r < 19 && r < count; ++r) {
        const double y = line0 + rowHeight * (r + 1);
        plainCells(months[static_cast<std::size_t>(r)], r + 1, cells, lengths);
        for (int c = 0; c < 6; ++c) {
            const std::string_view text(cells[c], static_cast<std::size_t>(lengths[c]));
            fonts.body.append(left + column * (c + 1) - 4 - fonts.body.width(text), y, text);
        }
        const std::string_view payment = fixed2(buffer, months[0].instalment);
        fonts.body.append(right - 4 - fonts.body.width(payment), y, payment);
        fonts.body.flush(painter);
        painter.drawLine(QPointF(left, y + 4), QPointF(right, y + 4));
    }

    painter.drawLine(QPointF(left, 1090), QPointF(right, 1090));
    fonts.small.draw(painter, left, 1100, "Printed 07/Dec/2026");
    fonts.small.draw(painter, 370, 1100, "Page 1 of 781");
    drawRight(painter, fonts.small, right, 1100, "Quillet");
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
        const auto longestMonths = plainMonths(32767);
        quillet::bench::printPaired(
            "first preview page, 32767 months",
            quillet::bench::pairedRatio(
                11,
                [&] {
                    benchmark::DoNotOptimize(previewPage(longest.schedule, longest.calculation));
                },
                [&] { floorFirstPage(longestMonths); }),
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
