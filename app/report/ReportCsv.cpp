#include "report/ReportCsv.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace quillet {

namespace {

void appendField(std::string& out, const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (const char c : text) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

void appendLine(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        appendField(out, fields[i]);
    }
    out.push_back('\n');
}

}  // namespace

std::string reportCsv(const ReportDefinition& definition, const ReportTable& table) {
    std::string out;
    appendLine(out, definition.csvHeader == CsvHeader::Headings ? table.headings : table.names);
    for (const auto& row : table.rows) {
        appendLine(out, row);
    }
    return out;
}

bool writeReportCsv(const ReportDefinition& definition, const ReportTable& table,
                    const std::filesystem::path& file, std::string& error) {
    const std::string text = reportCsv(definition, table);
    // Written beside the target and renamed into place, so a failed write never leaves a
    // truncated file where a good one was.
    std::filesystem::path partial = file;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "Cannot write \"" + file.string() + "\": " + std::strerror(errno);
            return false;
        }
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            error = "Cannot write \"" + file.string() + "\"";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, file, ec);
    if (ec) {
        error = "Cannot write \"" + file.string() + "\": " + ec.message();
        std::filesystem::remove(partial, ec);
        return false;
    }
    return true;
}

}  // namespace quillet
