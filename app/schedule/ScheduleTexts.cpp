#include "schedule/ScheduleTexts.h"

#include "runtime/Date.h"

namespace quillet {

namespace {

void appendRowValues(std::string& out, const ScheduleComputation& computation,
                     const ScheduleRow& row) {
    out.append(std::to_string(row.sn));
    out.push_back(',');
    computation.appendRounded(out, row.openingBalance);
    out.push_back(',');
    computation.appendRounded(out, row.interest);
    out.push_back(',');
    computation.appendRounded(out, row.principal);
    out.push_back(',');
    computation.appendRounded(out, row.closingBalance);
    out.push_back(',');
}

}  // namespace

void appendInsertStatement(std::string& out, const ScheduleComputation& computation,
                           const ScheduleRow& row) {
    out.append("insert into EMI values(");
    appendRowValues(out, computation, row);
    out.push_back('#');
    appendDayMonthYear(out, row.date);
    out.append("#)");
}

void appendCsvLine(std::string& out, const ScheduleComputation& computation,
                   const ScheduleRow& row) {
    appendRowValues(out, computation, row);
    appendDayMonthYear(out, row.date);
    out.push_back('\n');
}

}  // namespace quillet
