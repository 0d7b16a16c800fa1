#pragma once
/// \file
/// \brief Parsing of "DSN=name;userID= user;Password= secret" connection strings.

#include <string>
#include <string_view>
#include "quillet_store_export.h"

namespace quillet {

/// \brief The parts of a connection string that we use. Keys are matched without regard to case;
/// values are kept exactly as given (the blank after "userID=" belongs to the value).
struct ConnectionSettings {
    std::string dataSource;
    std::string user;
    std::string password;
};

QUILLET_STORE_INTERNAL ConnectionSettings parseConnectionString(std::string_view text);

}  // namespace quillet
