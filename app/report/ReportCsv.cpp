#include "report/ReportCsv.h"

#include <algorithm>
#include <array>

#include "engine/StoreFiles.h"
#include "files/OutputFile.h"
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
    try {
        // Never over the store's own files; never through a link planted at either name.
        OutputFile out(file, OutputAccess::Shared, storeOwnFiles());
        out.write(text);
        out.commit();
    } catch (const OutputFileError& failure) {
        error = failure.what();
        return false;
    }
    return true;
}

}  // namespace quillet
