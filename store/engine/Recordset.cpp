#include "engine/Recordset.h"

#include <algorithm>
#include <cctype>

#include "engine/ObjectErrors.h"
#include "engine/Session.h"
#include "runtime/Text.h"

namespace quillet {

namespace {}  // namespace

void Recordset::Open(const std::string& source, std::shared_ptr<Connection> activeConnection,
                     int cursorType, int lockType, int options) {
    // Every cursor is a static snapshot read when the statement runs; the cursor type, lock type
    // and options change nothing about what the caller can do with it.
    (void)cursorType;
    (void)lockType;
    (void)options;
    if (State() == kStateOpen) {
        throw objectErrors::alreadyOpen();
    }
    if (activeConnection) {
        m_activeConnection = std::move(activeConnection);
    }
    if (!m_activeConnection) {
        throw objectErrors::invalidConnection();
    }
    if (m_activeConnection->State() != kStateOpen) {
        throw objectErrors::invalidConnection(m_activeConnection->openFailure());
    }
    ResultTable result = m_activeConnection->session().execute(source);
    m_result.reset();
    m_position = 0;
    if (!result.returnsRows) {
        // A statement without rows ran; the recordset stays closed, as the classic objects do.
        return;
    }
    m_serverSide = m_cursorLocation != kUseClient;
    m_connectionToken = m_activeConnection->openToken();
    m_result = std::make_shared<const ResultTable>(std::move(result));
}

void Recordset::Close() {
    requireOpen();
    m_result.reset();
    m_position = 0;
}

int Recordset::State() const {
    if (!m_result) {
        return kStateClosed;
    }
    if (m_serverSide && m_connectionToken.expired()) {
        return kStateClosed;
    }
    return kStateOpen;
}

bool Recordset::Eof() const {
    requireOpen();
    return m_position >= static_cast<long>(m_result->rows.size());
}

bool Recordset::Bof() const {
    requireOpen();
    // The cursor never moves before the first row, so BOF holds only when there is none.
    return m_result->rows.empty();
}

void Recordset::MoveNext() {
    if (Eof()) {
        throw objectErrors::noCurrentRecord();
    }
    ++m_position;
}

void Recordset::MoveFirst() {
    requireOpen();
    m_position = 0;
}

long Recordset::RecordCount() const {
    requireOpen();
    return static_cast<long>(m_result->rows.size());
}

int Recordset::FieldCount() const {
    requireOpen();
    return static_cast<int>(m_result->columns.size());
}

const std::string& Recordset::FieldName(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(m_result->columns.size())) {
        throw objectErrors::itemNotFound();
    }
    return m_result->columns[static_cast<std::size_t>(index)];
}

const Variant& Recordset::Fields(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(m_result->columns.size())) {
        throw objectErrors::itemNotFound();
    }
    if (m_position >= static_cast<long>(m_result->rows.size())) {
        throw objectErrors::noCurrentRecord();
    }
    return m_result->rows[static_cast<std::size_t>(m_position)][static_cast<std::size_t>(index)];
}

const Variant& Recordset::Fields(const std::string& name) const {
    return Fields(columnIndex(name));
}

const Variant& Recordset::valueAt(long row, int column) const {
    requireOpen();
    if (column < 0 || column >= static_cast<int>(m_result->columns.size())) {
        throw objectErrors::itemNotFound();
    }
    if (row < 0 || row >= static_cast<long>(m_result->rows.size())) {
        throw objectErrors::noCurrentRecord();
    }
    return m_result->rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void Recordset::requireOpen() const {
    if (State() != kStateOpen) {
        throw objectErrors::closed();
    }
}

int Recordset::columnIndex(const std::string& name) const {
    requireOpen();
    const auto& columns = m_result->columns;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (equalsIgnoringCase(columns[i], name)) {
            return static_cast<int>(i);
        }
    }
    throw objectErrors::itemNotFound();
}

}  // namespace quillet
