#pragma once
/// \file
/// \brief The recordset object: runs one statement and walks its rows.

#include <memory>
#include <string>
#include <vector>

#include "engine/Connection.h"
#include "quillet_store_export.h"
#include "runtime/Variant.h"

namespace quillet {

struct ResultTable;

/// Cursor locations, types, lock types and options by their classic numbers.
inline constexpr int kUseServer = 2;
inline constexpr int kUseClient = 3;
inline constexpr int kOpenUnspecified = -1;
inline constexpr int kOpenKeyset = 1;
inline constexpr int kLockReadOnly = 1;
inline constexpr int kCmdUnspecified = -1;

/// \brief One statement's result. Every statement runs through Open, queries and changes alike;
/// a statement that returns no rows leaves the recordset closed (State 0). The rows are read
/// when the statement runs, so a client-side recordset stays usable after its connection closes.
///
/// NOTE: the end-of-rows test is called Eof(): the usual name is a macro of `<cstdio>`.
class QUILLET_STORE_EXPORT Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    /// The connection used when Open gets none; for a grid, the connection the recordset keeps.
    void setActiveConnection(std::shared_ptr<Connection> connection) {
        m_activeConnection = std::move(connection);
    }
    const std::shared_ptr<Connection>& ActiveConnection() const { return m_activeConnection; }

    int CursorLocation() const { return m_cursorLocation; }
    void setCursorLocation(int location) { m_cursorLocation = location; }

    /// Runs source on the connection. Raises when already open, when the connection is closed,
    /// or when the statement fails.
    void Open(const std::string& source, std::shared_ptr<Connection> activeConnection,
              int cursorType = kOpenUnspecified, int lockType = kLockReadOnly,
              int options = kCmdUnspecified);
    void Close();
    int State() const;

    bool Eof() const;
    bool Bof() const;
    void MoveNext();
    void MoveFirst();
    long RecordCount() const;

    int FieldCount() const;
    const std::string& FieldName(int index) const;
    /// Fields(i).Value of the current row; raises at end of rows or for an unknown field.
    const Variant& Fields(int index) const;
    /// Fields(name).Value of the current row; names match without regard to case.
    const Variant& Fields(const std::string& name) const;

    /// Any row by position, for a grid that shows every row at once.
    const Variant& valueAt(long row, int column) const;

private:
    void requireOpen() const;
    int columnIndex(const std::string& name) const;

    std::shared_ptr<Connection> m_activeConnection;
    int m_cursorLocation = kUseServer;
    // The result's storage is shared so a closed connection never invalidates bound grids.
    std::shared_ptr<const ResultTable> m_result;
    long m_position = 0;
    // Set for a server-side recordset: it closes together with its connection.
    std::weak_ptr<const void> m_connectionToken;
    bool m_serverSide = false;
};

}  // namespace quillet
