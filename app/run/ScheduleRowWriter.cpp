#include "run/ScheduleRowWriter.h"

#include "VekClass.h"
#include "schedule/ScheduleTexts.h"

namespace quillet {

namespace {

// Rows sent to the store in one go.
constexpr std::size_t kRowsPerBatch = 1000;

}  // namespace

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
    if (m_insertAsked && m_insert == nullptr) {
        keepStatement(row);
        m_pending.push_back(m_statement);
        if (m_pending.size() == kRowsPerBatch) {
            flush();
        }
        return;
    }
    runStatement(row);
    if (!m_insertAsked) {
        m_insertAsked = true;
        m_insert = m_vek.Con->session().prepareRowInsert(m_statement);
    }
}

void ScheduleRowWriter::flush() {
    if (m_pending.empty()) {
        return;
    }
    if (m_vek.Rs->State() == kStateOpen) {
        m_vek.Rs->Close();
    }
    std::size_t ran = 0;
    try {
        m_vek.Con->ExecuteBatch(m_pending, ran);
    } catch (...) {
        if (ran < m_pending.size()) {
            m_vek.str = m_pending[ran];
        }
        m_pending.clear();
        throw;
    }
    m_pending.clear();
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
