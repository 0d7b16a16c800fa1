#pragma once
/// \file
/// \brief The tool's store set-up options: which store "det" leads to, creating the tables of
/// the default schema that it lacks, and whether a backup of the embedded store applies.

#include <optional>
#include <ostream>
#include <string>

namespace quillet {

/// \brief "--which-store": one line on out naming the store "det" resolves to and why. 0 when
/// it could be told, 1 (with a diagnostic on err) when "det" is registered but unusable. Creates
/// nothing.
int printStoreInUse(std::ostream& out, std::ostream& err);

/// \brief "--create-schema": creates in "det", whatever it resolves to, every table of the
/// default schema that is missing, and lists them on out. 0 when done, 1 when the store failed
/// (nothing is created then). Several runs at once on one store all end with every table
/// present.
int createStoreSchema(std::ostream& out, std::ostream& err);

/// \brief The diagnostic "--verbose" writes before a stored run (without the tool's prefix): the
/// store in use, or why it cannot be opened.
std::string storeInUseNote();

/// \brief Why "--backup" must not run: it copies the embedded store, and "det" is registered
/// with the ODBC driver manager (usable or not), so the office's records are elsewhere. The
/// text names the data source and the server's own tool. Nothing when the backup may run.
std::optional<std::string> officeBackupRefusal();

}  // namespace quillet
