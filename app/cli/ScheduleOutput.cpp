#include "cli/ScheduleOutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <algorithm>
#include <array>
#include <cstdint>

#include "runtime/Date.h"
#include "runtime/Numbers.h"
#include "schedule/ScheduleTexts.h"

namespace quillet {

namespace {

// The JSON form of a text: Qt's writer escapes it; the brackets of the one-element array go.
std::string jsonString(const std::string& text) {
    const QByteArray array = QJsonDocument(QJsonArray{QJsonValue(QString::fromStdString(text))})
                                 .toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2).toStdString();
}

// An input as the number it was read as, in the general form; the texts failed their checks
// before output is made, except the decimals, which the computation reads first.
std::string jsonNumberOf(const std::string& text) {
    const auto value = parseNumber(text);
    return value ? formatGeneral(*value) : jsonString(text);
}

void appendInputs(std::string& out, const ToolOptions& options) {
    const ScheduleInputs& in = options.inputs;
    out += "  \"inputs\": {\"amount\": " + jsonNumberOf(in.amount) +
           ", \"months\": " + jsonNumberOf(in.months) + ", \"rate\": " + jsonNumberOf(in.rate) +
           ", \"decimals\": " + jsonNumberOf(in.decimals) + ", \"start\": \"" +
           formatIsoDate(in.start.dateOnly()) + "\"}";
}

// One row, its keys in the table's column order; the figures are the very texts the CSV and the
// store get (the general form is a JSON number), the date in ISO form.
void appendJsonRow(std::string& out, const ScheduleComputation& computation,
                   const ScheduleRow& row) {
    out += "    {\"SN\": ";
    out += std::to_string(row.sn);
    const std::array<std::pair<const char*, double>, 4> figures = {{
        {"OpeningBalance", row.openingBalance},
        {"Interest", row.interest},
        {"Principal", row.principal},
        {"ClosingBalance", row.closingBalance},
    }};
    for (const auto& [column, value] : figures) {
        out += ", \"";
        out += column;
        out += "\": ";
        computation.appendRounded(out, value);
    }
    out += ", \"EMIDate\": \"";
    out += formatIsoDate(row.date.dateOnly());
    out += "\"}";
}

}  // namespace

std::string scheduleOutput(const ToolOptions& options) {
    ScheduleComputation computation(options.inputs);
    const int months = std::max<int>(0, computation.monthCount());
    const bool json = options.format == OutputFormat::Json;
    std::string body;
    if (!options.emiOnly) {
        body.reserve(64 + static_cast<std::size_t>(months) * (json ? 140 : 64));
        if (!json) {
            body.append(kScheduleCsvHeader);
        }
    }
    for (int i = 1; i <= months; ++i) {
        const ScheduleRow row = computation.step(static_cast<std::int16_t>(i));
        if (options.emiOnly) {
            continue;
        }
        if (json) {
            body += i == 1 ? "\n" : ",\n";
            appendJsonRow(body, computation, row);
        } else {
            appendCsvLine(body, computation, row);
        }
    }
    if (!json) {
        return options.emiOnly ? computation.result() + "\n" : body;
    }
    std::string document = "{\n";
    appendInputs(document, options);
    document += ",\n  \"instalment\": " + computation.result();
    if (!options.emiOnly) {
        document += ",\n  \"rows\": [" + body + (months > 0 ? "\n  ]" : "]");
    }
    document += "\n}\n";
    return document;
}

}  // namespace quillet
