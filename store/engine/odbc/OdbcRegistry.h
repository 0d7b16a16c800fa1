#pragma once
/// \file
/// \brief What the system's ODBC driver manager knows about a data source name, and whether
/// what it knows can be used.

#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include "quillet_store_export.h"

namespace quillet::odbc {

/// \brief The odbc.ini files the driver manager reads data sources from, in the order it
/// reads them: the system's ($ODBCSYSINI/odbc.ini, else /etc/odbc.ini), then the user's
/// ($ODBCINI, else .odbc.ini in the home folder of the password database).
std::vector<std::filesystem::path> dataSourceFiles();

/// \brief Where a data source name is registered, read from the files themselves.
struct Registration {
    /// The file whose entry the driver manager would use; nothing when no file names it.
    std::optional<std::filesystem::path> file;
    /// The entry's keys (in lower case) and values.
    std::map<std::string, std::string> attributes;
    /// Why the data source cannot be used as registered, naming the file; empty when it can.
    std::string problem;
};

/// \brief Looks the name up in every file of dataSourceFiles(), names compared without regard
/// to case as the driver manager compares them. A file that names it but that the driver
/// manager would skip (unreadable, or a user file this user cannot write), an entry without a
/// driver, or a driver that is not installed is a problem; so is a file that cannot be read at
/// all, as it may name the data source. Reads the files only: nothing is created.
QUILLET_STORE_INTERNAL Registration findRegistration(const std::string& dataSource);

/// \brief True when a file the driver manager reads registers a data source of this name
/// (usable or not).
bool isRegistered(const std::string& dataSource);

/// \brief The value stored with the data source under the first of the keys that has one (keys
/// compared as the driver manager compares them); empty when none has.
std::string storedAttribute(const std::string& dataSource, std::initializer_list<const char*> keys);

/// \brief While it lives, the driver manager's user file (ODBCINI) names a file that exists.
///
/// NOTE: the driver manager opens the user's odbc.ini for appending before it reads it, which
/// creates an empty ~/.odbc.ini (or whatever ODBCINI names) when there is none. Where the user
/// has none, ODBCINI points at /dev/null meanwhile, which reads as an empty file; the previous
/// value comes back afterwards.
class UserFileGuard {
public:
    UserFileGuard();
    ~UserFileGuard();
    UserFileGuard(const UserFileGuard&) = delete;
    UserFileGuard& operator=(const UserFileGuard&) = delete;

private:
    bool m_replaced = false;
    std::optional<std::string> m_previous;
};

}  // namespace quillet::odbc
