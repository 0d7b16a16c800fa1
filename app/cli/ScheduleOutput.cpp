#include "cli/ScheduleOutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "schedule/ScheduleTexts.h"

namespace quillet {

namespace {

constexpr std::array<const char*, 6> kColumns = {"SN",        "OpeningBalance", "Interest",
                                                 "Principal", "ClosingBalance", "EMIDate"};

// One row as the CSV line's six texts; the line itself is the source, so the two forms never
// differ (no text in it holds a comma).
QJsonObject jsonRow(std::string_view csvLine) {
    QJsonObject row;
    for (const char* column : kColumns) {
        const std::size_t comma = std::min(csvLine.find(','), csvLine.find('\n'));
        row.insert(QLatin1String(column),
                   QString::fromUtf8(csvLine.data(), static_cast<qsizetype>(comma)));
        csvLine.remove_prefix(std::min(comma + 1, csvLine.size()));
    }
    return row;
}

QJsonObject jsonInputs(const ToolOptions& options) {
    const ScheduleInputs& in = options.inputs;
    return QJsonObject{{"amount", QString::fromStdString(in.amount)},
                       {"months", QString::fromStdString(in.months)},
                       {"rate", QString::fromStdString(in.rate)},
                       {"decimals", QString::fromStdString(in.decimals)},
                       {"start", QString::fromStdString(options.startText)}};
}

}  // namespace

std::string scheduleOutput(const ToolOptions& options) {
    ScheduleComputation computation(options.inputs);
    const int months = std::max<int>(0, computation.monthCount());
    const bool json = options.format == OutputFormat::Json;
    std::string csv;
    QJsonArray rows;
    if (!options.emiOnly && !json) {
        csv.reserve(64 + static_cast<std::size_t>(months) * 64);
        csv.append(kScheduleCsvHeader);
    }
    std::string line;
    for (int i = 1; i <= months; ++i) {
        const ScheduleRow row = computation.step(static_cast<std::int16_t>(i));
        if (options.emiOnly) {
            continue;
        }
        if (json) {
            line.clear();
            appendCsvLine(line, computation, row);
            rows.append(jsonRow(line));
        } else {
            appendCsvLine(csv, computation, row);
        }
    }
    if (!json) {
        return options.emiOnly ? computation.result() + "\n" : csv;
    }
    QJsonObject document{{"inputs", jsonInputs(options)},
                         {"instalment", QString::fromStdString(computation.result())}};
    if (!options.emiOnly) {
        document.insert(QLatin1String("rows"), rows);
    }
    return QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace quillet
