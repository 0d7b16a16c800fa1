#pragma once
/// \file
/// \brief The write transaction the record operations take around a serial and its insert.

#include "engine/Connection.h"

namespace quillet {

/// \brief A write transaction on an open connection: begun on construction, rolled back on
/// destruction unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(Connection& connection);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_open = true;
};

}  // namespace quillet
