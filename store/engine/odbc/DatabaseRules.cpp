#include "engine/odbc/DatabaseRules.h"

#include <array>
#include <functional>

#include "engine/odbc/PostgresRules.h"
#include "engine/odbc/SqliteFileRules.h"
#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

struct System {
    std::string_view dbmsName;
    std::unique_ptr<DatabaseRules> (*make)();
};

template <class Rules>
std::unique_ptr<DatabaseRules> make() {
    return std::make_unique<Rules>();
}

// Every supported system, by the DBMS name its drivers report.
constexpr std::array<System, 2> kSystems = {{
    {"SQLite", &make<SqliteFileRules>},
    {"PostgreSQL", &make<PostgresRules>},
}};

}  // namespace

std::unique_ptr<DatabaseRules> rulesForDbms(std::string_view dbmsName) {
    for (const System& system : kSystems) {
        if (equalsIgnoringCase(dbmsName, system.dbmsName)) {
            return system.make();
        }
    }
    return nullptr;
}

std::string supportedDbmsNames() {
    std::string names;
    for (const System& system : kSystems) {
        names += (names.empty() ? "" : ", ") + std::string(system.dbmsName);
    }
    return names;
}

}  // namespace quillet::odbc
