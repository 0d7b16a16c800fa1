#include "report/ReportCsv.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include <algorithm>
#include <array>

#include "report/ReportTable.h"
#include "runtime/Text.h"
#include "schedule/ScheduleTexts.h"

namespace quillet {

namespace {

/// The CSV's columns, in order: the stored EMI columns as the tool writes them.
constexpr std::array<std::pair<const char*, ValueFormat>, 6> kColumns = {{
    {"SN", ValueFormat::General},
    {"OpeningBalance", ValueFormat::General},
    {"Interest", ValueFormat::General},
    {"Principal", ValueFormat::General},
    {"ClosingBalance", ValueFormat::General},
    {"EMIDate", ValueFormat::Date},
}};

}  // namespace

std::string reportCsv(const StoredSchedule& schedule) {
    std::array<std::size_t, kColumns.size()> sources{};
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const auto& names = schedule.columns;
        const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
            return equalsIgnoringCase(name, kColumns[i].first);
        });
        if (found == names.end()) {
            throw ReportDefinitionError(
                0, std::string("the EMI table has no column \"") + kColumns[i].first + "\"");
        }
        sources[i] = static_cast<std::size_t>(found - names.begin());
    }
    std::string out = kScheduleCsvHeader;
    out.reserve(out.size() + schedule.rows.size() * 64);
    for (const auto& row : schedule.rows) {
        // None of these texts can hold a comma, a quote or a line break: no quoting needed.
        for (std::size_t i = 0; i < kColumns.size(); ++i) {
            if (i > 0) {
                out.push_back(',');
            }
            out += cellText(row.at(sources[i]), kColumns[i].second, -1);
        }
        out.push_back('\n');
    }
    return out;
}

bool writeReportCsv(const StoredSchedule& schedule, const std::filesystem::path& file,
                    std::string& error) {
    std::string text;
    try {
        text = reportCsv(schedule);
    } catch (const ReportDefinitionError& problem) {
        error = "Cannot write \"" + file.string() + "\": " + problem.problem();
        return false;
    }
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
