// The record-store contract on office stores reached through the driver manager.

#include <gtest/gtest.h>

#include "store/engine/EngineContract.h"
#include "store/engine/OfficeStores.h"

namespace quillet::testing {

namespace {

EngineUnderTest sqliteThroughOdbc() {
    return {"SqliteOdbc", [](quillet::testing::TempStore& home) {
                registerSqliteFile(home);
                createMissingTables(*openClassConnection());
                return std::string(kClassConnection);
            }};
}

EngineUnderTest postgresThroughOdbc() {
    return {"PostgresOdbc", [](quillet::testing::TempStore& home) {
                if (!registerFreshPostgres(home)) {
                    return std::string();
                }
                return std::string(kClassConnection);
            }};
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Office, EngineContract,
                         ::testing::Values(sqliteThroughOdbc(), postgresThroughOdbc()),
                         [](const auto& param) { return param.param.name; });

}  // namespace quillet::testing
