#pragma once
/// \file
/// \brief The tool's store set-up options: which store "det" leads to, and creating the tables
/// of the default schema that it lacks.

#include <ostream>
#include <string>

namespace quillet {

/// \brief "--which-store": one line on out naming the store "det" resolves to. 0 when it could
/// be opened, 1 (with a diagnostic on err) when not.
int printStoreInUse(std::ostream& out, std::ostream& err);

/// \brief "--create-schema": creates in "det", whatever it resolves to, every table of the
/// default schema that is missing, and lists them on out. 0 when done, 1 when the store failed
/// (nothing is created then).
int createStoreSchema(std::ostream& out, std::ostream& err);

/// \brief The line "--verbose" writes on err before a stored run: the store in use, or why it
/// cannot be opened.
std::string storeInUseNote();

}  // namespace quillet
