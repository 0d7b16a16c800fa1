#pragma once
/// \file
/// \brief What the system's ODBC driver manager knows about a data source name.

#include <initializer_list>
#include <string>

namespace quillet::odbc {

/// \brief True when the driver manager has a data source of this name in the user's or the
/// system's odbc.ini (ODBCINI and ODBCSYSINI honoured), names compared as the driver manager
/// compares them (without regard to case).
bool isRegistered(const std::string& dataSource);

/// \brief The value stored with the data source under the first of the keys that has one (keys
/// compared as the driver manager compares them); empty when none has.
std::string storedAttribute(const std::string& dataSource, std::initializer_list<const char*> keys);

}  // namespace quillet::odbc
