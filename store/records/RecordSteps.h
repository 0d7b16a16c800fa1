#pragma once
/// \file
/// \brief Steps the record operations share: reusing a recordset, the insert under a serial, and
/// the closing check that shows a trapped error.

#include <cstdint>
#include <string>

#include "OperationFrame.h"
#include "SerialNumbers.h"
#include "engine/Recordset.h"

namespace quillet {

/// \brief Closes the recordset when it is open, so the next statement may open it again.
void closeIfOpen(Recordset& recordset);

/// \brief "insert into " + table + " values(" + serial + "," + values + ")". Raises, before any
/// SQL runs, when the table name is not a plain identifier.
std::string insertStatement(const std::string& TableName, const Variant& serial,
                            const std::string& values);

/// \brief The closing check of a trapped operation: when a step failed, shows the recorded
/// error's description with an OK button only.
void showRecordedError(const OperationFrame& frame);

}  // namespace quillet
