#include "engine/odbc/OdbcStatement.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "engine/odbc/OdbcDiagnostics.h"
#include "engine/odbc/ResultValues.h"

namespace quillet::odbc {

namespace {

/// One parameter's value, kept alive until the statement has run.
struct BoundParameter {
    std::string text;
    long long whole = 0;
    double real = 0;
    SQLLEN indicator = 0;
};

SQLSMALLINT sqlTypeOf(SqlBinding binding) {
    switch (binding) {
        case SqlBinding::Number:
            return SQL_DOUBLE;
        case SqlBinding::Timestamp:
            return SQL_TYPE_TIMESTAMP;
        case SqlBinding::Text:
            break;
    }
    return SQL_VARCHAR;
}

// The shortest text that reads back as the same double (6102.05, never 6102.0500000000002).
std::string shortestText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// The digits after the point of a shortest text (none in an exponent form).
SQLSMALLINT decimalDigitsOf(const std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos || text.find_first_of("eE") != std::string::npos) {
        return 0;
    }
    return static_cast<SQLSMALLINT>(text.size() - point - 1);
}

void bind(SQLHSTMT statement, SQLUSMALLINT index, const engine::BoundValue& value,
          SqlBinding binding, const DriverHabits& habits, BoundParameter& slot) {
    const bool timestamp = binding == SqlBinding::Timestamp;
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN size = 1;
    SQLSMALLINT decimalDigits = 0;
    SQLPOINTER data = nullptr;
    SQLLEN length = 0;
    if (std::holds_alternative<std::monostate>(value)) {
        slot.indicator = SQL_NULL_DATA;
        sqlType = sqlTypeOf(binding);
    } else if (const auto* whole = std::get_if<long long>(&value)) {
        slot.whole = *whole;
        cType = SQL_C_SBIGINT;
        sqlType = SQL_BIGINT;
        size = 19;
        data = &slot.whole;
    } else if (const auto* exact = std::get_if<double>(&value);
               exact != nullptr && habits.doublesAsShortestText) {
        slot.text = shortestText(*exact);
        slot.indicator = static_cast<SQLLEN>(slot.text.size());
        sqlType = SQL_NUMERIC;
        size = slot.text.size();
        decimalDigits = decimalDigitsOf(slot.text);
        data = slot.text.data();
        length = static_cast<SQLLEN>(slot.text.size());
    } else if (const auto* real = std::get_if<double>(&value)) {
        slot.real = *real;
        cType = SQL_C_DOUBLE;
        sqlType = SQL_DOUBLE;
        size = 15;
        data = &slot.real;
    } else {
        slot.text = std::get<std::string>(value);
        slot.indicator = static_cast<SQLLEN>(slot.text.size());
        sqlType = timestamp ? SQL_TYPE_TIMESTAMP : SQL_VARCHAR;
        size = timestamp ? 19 : std::max<SQLULEN>(1, slot.text.size());
        data = slot.text.data();
        length = static_cast<SQLLEN>(slot.text.size());
    }
    SQLLEN* indicator = cType == SQL_C_CHAR ? &slot.indicator : nullptr;
    check(SQLBindParameter(statement, index, SQL_PARAM_INPUT, cType, sqlType, size, decimalDigits,
                           data, length, indicator),
          SQL_HANDLE_STMT, statement);
}

std::optional<std::string> textColumn(SQLHSTMT statement, SQLUSMALLINT column) {
    std::string text;
    char buffer[512];
    while (true) {
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(statement, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) {
            break;
        }
        check(rc, SQL_HANDLE_STMT, statement);
        if (indicator == SQL_NULL_DATA) {
            return std::nullopt;
        }
        const std::size_t room = sizeof buffer - 1;
        const bool truncated = indicator == SQL_NO_TOTAL ||
                               (indicator >= 0 && static_cast<std::size_t>(indicator) > room);
        text.append(buffer, truncated ? room : static_cast<std::size_t>(indicator));
        if (!truncated) {
            break;
        }
    }
    return text;
}

/// Every remaining row of the statement's result, each value read by its column's family (or
/// as text when families is null).
std::vector<std::vector<Variant>> fetchRows(SQLHSTMT statement, SQLSMALLINT count,
                                            const std::vector<ValueFamily>* families) {
    if (count == 0) {
        check(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement);
    }
    std::vector<std::vector<Variant>> rows;
    while (true) {
        const SQLRETURN rc = SQLFetch(statement);
        if (rc == SQL_NO_DATA) {
            break;
        }
        check(rc, SQL_HANDLE_STMT, statement);
        std::vector<Variant>& row = rows.emplace_back();
        row.reserve(static_cast<std::size_t>(count));
        for (SQLSMALLINT c = 1; c <= count; ++c) {
            std::optional<std::string> text = textColumn(statement, static_cast<SQLUSMALLINT>(c));
            if (!text) {
                row.push_back(Variant::null());
            } else if (families == nullptr) {
                row.emplace_back(std::move(*text));
            } else {
                row.push_back(valueFromText(*text, (*families)[static_cast<std::size_t>(c - 1)]));
            }
        }
    }
    return rows;
}

// Rows a rowset holds, and the room each value has in it: whole numbers, doubles, dates and
// short texts fit; a longer value is read whole from its row.
constexpr SQLULEN kRowsetRows = 256;
constexpr SQLLEN kBoundWidth = 64;

/// Puts the statement back to unbound single rows however the fetch ends.
struct RowsetReset {
    SQLHSTMT statement;
    ~RowsetReset() {
        SQLFreeStmt(statement, SQL_UNBIND);
        SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
        SQLSetStmtAttr(statement, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        SQLSetStmtAttr(statement, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
    }
};

/// fetchRows' result, read a rowset at a time into bound text buffers: one call to the driver
/// per rowset instead of one per value.
std::vector<std::vector<Variant>> fetchRowsets(SQLHSTMT statement, SQLSMALLINT count,
                                               const std::vector<ValueFamily>& families) {
    const auto columns = static_cast<std::size_t>(count);
    std::vector<char> texts(columns * kRowsetRows * static_cast<std::size_t>(kBoundWidth));
    std::vector<SQLLEN> lengths(columns * kRowsetRows);
    std::vector<SQLUSMALLINT> statuses(kRowsetRows, SQL_ROW_NOROW);
    SQLULEN fetched = 0;
    // Declared after the buffers: the statement lets go of them before they are freed.
    const RowsetReset reset{statement};
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_BIND_TYPE,
                         reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
          SQL_HANDLE_STMT, statement);
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_ARRAY_SIZE,
                         reinterpret_cast<SQLPOINTER>(kRowsetRows), 0),
          SQL_HANDLE_STMT, statement);
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), SQL_HANDLE_STMT,
          statement);
    check(SQLSetStmtAttr(statement, SQL_ATTR_ROW_STATUS_PTR, statuses.data(), 0), SQL_HANDLE_STMT,
          statement);
    for (std::size_t c = 0; c < columns; ++c) {
        check(SQLBindCol(statement, static_cast<SQLUSMALLINT>(c + 1), SQL_C_CHAR,
                         texts.data() + c * kRowsetRows * static_cast<std::size_t>(kBoundWidth),
                         kBoundWidth, lengths.data() + c * kRowsetRows),
              SQL_HANDLE_STMT, statement);
    }
    std::vector<std::vector<Variant>> rows;
    while (true) {
        const SQLRETURN rc = SQLFetch(statement);
        if (rc == SQL_NO_DATA) {
            break;
        }
        check(rc, SQL_HANDLE_STMT, statement);
        for (SQLULEN r = 0; r < fetched; ++r) {
            if (statuses[r] == SQL_ROW_ERROR) {
                throw errorFrom(SQL_HANDLE_STMT, statement, err::StoreError, {});
            }
            std::vector<Variant>& row = rows.emplace_back();
            row.reserve(columns);
            for (std::size_t c = 0; c < columns; ++c) {
                const std::size_t at = c * kRowsetRows + r;
                const SQLLEN length = lengths[at];
                if (length == SQL_NULL_DATA) {
                    row.push_back(Variant::null());
                    continue;
                }
                if (length != SQL_NO_TOTAL && length >= 0 && length < kBoundWidth) {
                    const char* text = texts.data() + at * static_cast<std::size_t>(kBoundWidth);
                    row.push_back(valueFromText(
                        std::string_view(text, static_cast<std::size_t>(length)), families[c]));
                    continue;
                }
                // Longer than its room: the whole value, read from its row.
                check(SQLSetPos(statement, static_cast<SQLSETPOSIROW>(r + 1), SQL_POSITION,
                                SQL_LOCK_NO_CHANGE),
                      SQL_HANDLE_STMT, statement);
                const std::optional<std::string> whole =
                    textColumn(statement, static_cast<SQLUSMALLINT>(c + 1));
                row.push_back(whole ? valueFromText(*whole, families[c]) : Variant::null());
            }
        }
    }
    return rows;
}

ValueFamily familyOfSqlType(SQLLEN sqlType) {
    switch (sqlType) {
        case SQL_DOUBLE:
        case SQL_FLOAT:
        case SQL_REAL:
            return ValueFamily::Double;
        case SQL_NUMERIC:
        case SQL_DECIMAL:
        case SQL_INTEGER:
        case SQL_SMALLINT:
        case SQL_BIGINT:
        case SQL_TINYINT:
        case SQL_BIT:
            return ValueFamily::Number;
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIME:
        case SQL_TYPE_TIMESTAMP:
        case SQL_DATE:
        case SQL_TIME:
        case SQL_TIMESTAMP:
            return ValueFamily::Date;
        default:
            // Characters of every width, binaries, and whatever the driver cannot name (an
            // extension's type such as citext): text is kept exactly as it came.
            return ValueFamily::Text;
    }
}

ValueFamily familyOfColumn(SQLHSTMT statement, SQLUSMALLINT column, const DriverHabits& habits) {
    if (habits.familiesFromSqlType) {
        SQLLEN sqlType = 0;
        check(SQLColAttribute(statement, column, SQL_DESC_CONCISE_TYPE, nullptr, 0, nullptr,
                              &sqlType),
              SQL_HANDLE_STMT, statement);
        return familyOfSqlType(sqlType);
    }
    SQLCHAR typeName[128] = {};
    SQLSMALLINT typeLength = 0;
    check(SQLColAttribute(statement, column, SQL_DESC_TYPE_NAME, typeName, sizeof typeName,
                          &typeLength, nullptr),
          SQL_HANDLE_STMT, statement);
    return familyOfTypeName(reinterpret_cast<const char*>(typeName));
}

ResultTable readResult(SQLHSTMT statement, const DriverHabits& habits) {
    ResultTable result;
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement);
    if (count <= 0) {
        SQLLEN affected = 0;
        check(SQLRowCount(statement, &affected), SQL_HANDLE_STMT, statement);
        result.rowsAffected = affected < 0 ? 0 : affected;
        return result;
    }
    result.returnsRows = true;
    std::vector<ValueFamily> families;
    for (SQLSMALLINT c = 1; c <= count; ++c) {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        check(SQLColAttribute(statement, static_cast<SQLUSMALLINT>(c), SQL_DESC_LABEL, name,
                              sizeof name, &nameLength, nullptr),
              SQL_HANDLE_STMT, statement);
        result.columns.emplace_back(reinterpret_cast<const char*>(name));
        families.push_back(familyOfColumn(statement, static_cast<SQLUSMALLINT>(c), habits));
    }
    result.rows = habits.fetchesRowsets ? fetchRowsets(statement, count, families)
                                        : fetchRows(statement, count, &families);
    return result;
}

}  // namespace

namespace {

/// Closes the statement and resets its parameters however its use ends.
struct StatementReset {
    SQLHSTMT statement;
    ~StatementReset() {
        SQLFreeStmt(statement, SQL_CLOSE);
        SQLFreeStmt(statement, SQL_RESET_PARAMS);
    }
};

}  // namespace

ResultTable executePrepared(void* statement, const std::vector<engine::BoundValue>& values,
                            const std::vector<SqlBinding>& bindings, const DriverHabits& habits) {
    const StatementReset reset{statement};
    std::vector<BoundParameter> slots(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        bind(statement, static_cast<SQLUSMALLINT>(i + 1), values[i], bindings[i], habits, slots[i]);
    }
    const SQLRETURN rc = SQLExecute(statement);
    check(rc, SQL_HANDLE_STMT, statement);
    if (rc == SQL_NO_DATA) {
        return {};
    }
    return readResult(statement, habits);
}

namespace {

// A value as the text a parameter array carries; nothing for a Null.
std::optional<std::string> arrayText(const engine::BoundValue& value, const DriverHabits& habits) {
    if (std::holds_alternative<std::monostate>(value)) {
        return std::nullopt;
    }
    if (const auto* whole = std::get_if<long long>(&value)) {
        return std::to_string(*whole);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        if (habits.doublesAsShortestText) {
            return shortestText(*real);
        }
        std::array<char, 32> buffer{};
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *real,
                                          std::chars_format::general, 17);
        return std::string(buffer.data(), result.ptr);
    }
    return std::get<std::string>(value);
}

SQLSMALLINT arraySqlType(SqlBinding binding) {
    switch (binding) {
        case SqlBinding::Number:
            return SQL_NUMERIC;
        case SqlBinding::Timestamp:
            return SQL_TYPE_TIMESTAMP;
        case SqlBinding::Text:
            break;
    }
    return SQL_VARCHAR;
}

/// One parameter's column of values: fixed-width texts side by side, and their lengths.
struct ParameterColumn {
    std::size_t width = 1;
    std::vector<char> texts;
    std::vector<SQLLEN> lengths;
};

/// Puts the statement back to one row of parameters however the run ends.
struct ArrayReset {
    SQLHSTMT statement;
    ~ArrayReset() {
        SQLFreeStmt(statement, SQL_CLOSE);
        SQLFreeStmt(statement, SQL_RESET_PARAMS);
        SQLSetStmtAttr(statement, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
        SQLSetStmtAttr(statement, SQL_ATTR_PARAM_STATUS_PTR, nullptr, 0);
    }
};

}  // namespace

void executeArray(void* statement, const std::vector<std::vector<engine::BoundValue>>& rows,
                  const std::vector<SqlBinding>& bindings, const DriverHabits& habits) {
    const std::size_t count = rows.size();
    // Outlives the reset below, which unhooks it from the statement.
    std::vector<SQLUSMALLINT> statuses(count, SQL_PARAM_UNUSED);
    const ArrayReset reset{statement};
    std::vector<ParameterColumn> columns(bindings.size());
    std::vector<std::vector<std::optional<std::string>>> texts(bindings.size());
    for (std::size_t c = 0; c < bindings.size(); ++c) {
        texts[c].reserve(count);
        for (const auto& row : rows) {
            texts[c].push_back(arrayText(row[c], habits));
            if (texts[c].back()) {
                columns[c].width = std::max(columns[c].width, texts[c].back()->size() + 1);
            }
        }
    }
    check(SQLSetStmtAttr(statement, SQL_ATTR_PARAM_BIND_TYPE,
                         reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0),
          SQL_HANDLE_STMT, statement);
    check(SQLSetStmtAttr(statement, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(count), 0),
          SQL_HANDLE_STMT, statement);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        ParameterColumn& column = columns[c];
        column.texts.assign(column.width * count, '\0');
        column.lengths.assign(count, SQL_NULL_DATA);
        for (std::size_t r = 0; r < count; ++r) {
            if (const std::optional<std::string>& text = texts[c][r]) {
                std::copy(text->begin(), text->end(), column.texts.begin() + r * column.width);
                column.lengths[r] = static_cast<SQLLEN>(text->size());
            }
        }
        check(SQLBindParameter(statement, static_cast<SQLUSMALLINT>(c + 1), SQL_PARAM_INPUT,
                               SQL_C_CHAR, arraySqlType(bindings[c]), column.width - 1, 0,
                               column.texts.data(), static_cast<SQLLEN>(column.width),
                               column.lengths.data()),
              SQL_HANDLE_STMT, statement);
    }
    check(SQLSetStmtAttr(statement, SQL_ATTR_PARAM_STATUS_PTR, statuses.data(), 0), SQL_HANDLE_STMT,
          statement);
    check(SQLExecute(statement), SQL_HANDLE_STMT, statement);
    // A driver may report a failed row only in its status, with the execute itself "with info".
    if (std::find(statuses.begin(), statuses.end(), SQL_PARAM_ERROR) != statuses.end()) {
        throw errorFrom(SQL_HANDLE_STMT, statement, err::StoreError, {});
    }
}

void executeRows(void* statement, const std::vector<std::vector<engine::BoundValue>>& rows,
                 std::size_t first, std::size_t count, const std::vector<SqlBinding>& bindings,
                 const DriverHabits& habits) {
    const StatementReset reset{statement};
    const std::size_t columns = bindings.size();
    // Every text is made before any is bound: the driver reads them at the execute.
    std::vector<std::optional<std::string>> texts;
    texts.reserve(count * columns);
    for (std::size_t r = first; r < first + count; ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            texts.push_back(arrayText(rows[r][c], habits));
        }
    }
    std::vector<SQLLEN> lengths(texts.size(), SQL_NULL_DATA);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string* value = texts[i] ? &*texts[i] : nullptr;
        if (value != nullptr) {
            lengths[i] = static_cast<SQLLEN>(value->size());
        }
        check(SQLBindParameter(statement, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                               SQL_C_CHAR, arraySqlType(bindings[i % columns]),
                               value != nullptr ? std::max<SQLULEN>(1, value->size()) : 1, 0,
                               value != nullptr ? value->data() : nullptr,
                               value != nullptr ? static_cast<SQLLEN>(value->size() + 1) : 0,
                               &lengths[i]),
              SQL_HANDLE_STMT, statement);
    }
    check(SQLExecute(statement), SQL_HANDLE_STMT, statement);
}

std::vector<std::vector<Variant>> queryPrepared(void* statement,
                                                const std::vector<std::string>& texts) {
    const StatementReset reset{statement};
    std::vector<BoundParameter> slots(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        bind(statement, static_cast<SQLUSMALLINT>(i + 1), engine::BoundValue(texts[i]),
             SqlBinding::Text, DriverHabits{}, slots[i]);
    }
    const SQLRETURN rc = SQLExecute(statement);
    check(rc, SQL_HANDLE_STMT, statement);
    if (rc == SQL_NO_DATA) {
        return {};
    }
    return fetchRows(statement, 0, nullptr);
}

ResultTable executeDirect(void* statement, const std::string& sql, const DriverHabits& habits) {
    const SQLRETURN rc =
        SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                      static_cast<SQLINTEGER>(sql.size()));
    check(rc, SQL_HANDLE_STMT, statement);
    if (rc == SQL_NO_DATA) {
        return {};
    }
    return readResult(statement, habits);
}

std::vector<std::vector<Variant>> fetchTextRows(void* statement) {
    return fetchRows(statement, 0, nullptr);
}

}  // namespace quillet::odbc
