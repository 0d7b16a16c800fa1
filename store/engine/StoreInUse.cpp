#include "engine/StoreInUse.h"

#include "engine/DataSource.h"
#include "engine/odbc/OdbcRegistry.h"
#include "engine/odbc/OdbcSession.h"

namespace quillet {

std::string describeStoreInUse(const ConnectionSettings& settings) {
    const std::unique_ptr<Session> session = openDataSource(settings);
    if (const auto* odbc = dynamic_cast<const odbc::OdbcSession*>(session.get())) {
        const std::string driver = odbc::storedAttribute(settings.dataSource, {"Driver"});
        return "data source '" + settings.dataSource +
               "': registered with the ODBC driver manager (driver " + driver + "), " +
               odbc->dbmsDescription();
    }
    return "data source '" + settings.dataSource + "': the embedded store " +
           embeddedDatabasePath().string();
}

}  // namespace quillet
