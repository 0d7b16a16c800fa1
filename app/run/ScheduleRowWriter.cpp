#include "run/ScheduleRowWriter.h"

#include "VekClass.h"
#include "schedule/ScheduleTexts.h"

namespace quillet {

void ScheduleRowWriter::write(const ScheduleRow& row, bool last) {
    if (m_insert != nullptr && fillValues(row)) {
        bool written = false;
        try {
            written = m_insert->insert(m_values);
        } catch (...) {
            keepStatement(row);  // the failure is reported against the row's statement
            throw;
        }
        if (written) {
            if (last) {
                keepStatement(row);
            }
            return;
        }
    }
    runStatement(row);
    if (!m_insertAsked) {
        m_insertAsked = true;
        m_insert = m_vek.Con->session().prepareRowInsert(m_statement);
    }
}

bool ScheduleRowWriter::fillValues(const ScheduleRow& row) {
    m_values.clear();
    m_values.emplace_back(static_cast<long long>(row.sn));
    for (const double figure :
         {row.openingBalance, row.interest, row.principal, row.closingBalance}) {
        const std::optional<double> rounded = m_computation.roundedValue(figure);
        if (!rounded) {
            return false;
        }
        m_values.emplace_back(*rounded);
    }
    m_values.emplace_back(row.date);
    return true;
}

void ScheduleRowWriter::runStatement(const ScheduleRow& row) {
    if (m_vek.Rs->State() == kStateOpen) {
        m_vek.Rs->Close();
    }
    keepStatement(row);
    m_vek.Rs->Open(m_statement, m_vek.Con.shared(), kOpenKeyset, kLockReadOnly, kCmdUnspecified);
}

void ScheduleRowWriter::keepStatement(const ScheduleRow& row) {
    m_statement.clear();
    appendInsertStatement(m_statement, m_computation, row);
    m_vek.str = m_statement;
}

}  // namespace quillet
