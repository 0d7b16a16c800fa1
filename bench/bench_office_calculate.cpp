// One Calculate of 360 months on the embedded store and, through ODBC, on a PostgreSQL server on
// loopback, beside the plain limit: the same statements in a few lines of C on the ODBC API.
// Run the server part under scripts/with-postgres.sh (it registers "det" for its server):
//   scripts/with-postgres.sh build/bin/bench_office_calculate
#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "GridRefreshHooks.h"
#include "VekClass.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "run/ScheduleStoreRun.h"
#include "schema/SchemaCreation.h"

namespace {

// Points the data folder and the driver manager's files somewhere for one benchmark.
class Environment {
public:
    Environment(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
            m_had = true;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~Environment() {
        if (m_had) {
            ::setenv(m_name, m_old.c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

std::filesystem::path freshFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp");
}

bool serverRegistered() {
    return std::getenv("QUILLET_TEST_PGPORT") != nullptr;
}

void calculateThroughQuillet(benchmark::State& state) {
    quillet::ScheduleInputs inputs;
    inputs.months = "360";
    inputs.decimals = "2";
    long rows = 0;
    const quillet::ScheduleRunHooks hooks = quillet::bench::gridRefreshHooks(rows);
    quillet::runScheduleToStore(inputs, hooks);  // the store is made outside the timing
    for (auto _ : state) {
        const auto outcome = quillet::runScheduleToStore(inputs, hooks);
        if (outcome.failed) {
            state.SkipWithError(outcome.errorDescription.c_str());
            break;
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void embedded(benchmark::State& state) {
    const std::filesystem::path folder = freshFolder();
    const Environment data("XDG_DATA_HOME", folder.string());
    // No data source registered: "det" is the embedded store.
    const Environment system("ODBCSYSINI", folder.string());
    const Environment user("ODBCINI", (folder / "odbc.ini").string());
    calculateThroughQuillet(state);
    std::filesystem::remove_all(folder);
}

void postgres(benchmark::State& state) {
    if (!serverRegistered()) {
        state.SkipWithError("no server: run under scripts/with-postgres.sh");
        return;
    }
    {
        quillet::Connection connection;
        connection.Open(quillet::defaultConnectionString());
        quillet::createMissingTables(connection);
    }
    calculateThroughQuillet(state);
}

// The plain limit: the same statements written directly against the ODBC API.
void check(SQLRETURN rc, const char* what) {
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        std::fprintf(stderr, "plain ODBC: %s failed\n", what);
        std::exit(1);
    }
}

void postgresPlainOdbc(benchmark::State& state) {
    if (!serverRegistered()) {
        state.SkipWithError("no server: run under scripts/with-postgres.sh");
        return;
    }
    SQLHENV env = SQL_NULL_HENV;
    check(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env), "env");
    check(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          "version");
    auto connect = [&] {
        SQLHDBC dbc = SQL_NULL_HDBC;
        check(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc), "dbc");
        SQLCHAR dsn[] = "DSN=det;UID=Admin;PWD=09octvel";
        check(
            SQLDriverConnect(dbc, nullptr, dsn, SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
            "connect");
        return dbc;
    };
    auto disconnect = [](SQLHDBC dbc) {
        SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    };
    // One connection and one prepared insert for the whole run, as Quillet keeps its sessions
    // (and their prepared statements) for reuse.
    SQLHDBC dbc = connect();
    SQLHSTMT insert = SQL_NULL_HSTMT;
    check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &insert), "stmt");
    check(SQLPrepare(
              insert,
              reinterpret_cast<SQLCHAR*>(const_cast<char*>("INSERT INTO emi VALUES(?,?,?,?,?,?)")),
              SQL_NTS),
          "prepare");
    long long sn = 0;
    double values[4] = {};
    char date[24] = "2024-01-01";
    SQLLEN dateLength = 10;
    check(SQLBindParameter(insert, 1, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 19, 0, &sn, 0,
                           nullptr),
          "bind");
    for (SQLUSMALLINT i = 0; i < 4; ++i) {
        check(SQLBindParameter(insert, static_cast<SQLUSMALLINT>(i + 2), SQL_PARAM_INPUT,
                               SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, &values[i], 0, nullptr),
              "bind");
    }
    check(SQLBindParameter(insert, 6, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_TYPE_TIMESTAMP, 19, 0, date,
                           0, &dateLength),
          "bind");
    for (auto _ : state) {
        check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
              "autocommit");
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt), "stmt");
        check(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>("DELETE FROM emi")),
                            SQL_NTS),
              "delete");
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        double balance = 1000000;
        const double rate = 0.06 / 12;
        const double emi = rate * balance / (1 - std::pow(1 + rate, -360));
        for (sn = 1; sn <= 360; ++sn) {
            const double interest = std::round(balance * rate * 100) / 100;
            values[0] = balance;
            values[1] = interest;
            values[2] = emi - interest;
            values[3] = balance - (emi - interest);
            balance = values[3];
            const int month = static_cast<int>(sn - 1);
            std::snprintf(date, sizeof date, "%04d-%02d-01", 2024 + month / 12, month % 12 + 1);
            check(SQLExecute(insert), "insert");
        }
        check(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT), "commit");
        check(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
              "autocommit");

        check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt), "stmt");
        check(SQLExecDirect(
                  stmt,
                  reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT * FROM emi ORDER BY sn")),
                  SQL_NTS),
              "select");
        long rows = 0;
        char text[64];
        SQLLEN length = 0;
        while (SQLFetch(stmt) == SQL_SUCCESS) {
            for (SQLUSMALLINT c = 1; c <= 6; ++c) {
                SQLGetData(stmt, c, SQL_C_CHAR, text, sizeof text, &length);
            }
            ++rows;
        }
        benchmark::DoNotOptimize(rows);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, insert);
    disconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

// Prints each benchmark as usual, then Quillet's time over the plain limit's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions, the median stands for the benchmark.
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (single || median)) {
                // Every benchmark here reports in milliseconds.
                m_ms[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto quillet = m_ms.find("postgres/months360");
        const auto plain = m_ms.find("postgres_plain_odbc/months360");
        if (quillet != m_ms.end() && plain != m_ms.end() && plain->second > 0) {
            std::printf("PostgreSQL Calculate through Quillet / plain ODBC: %.2f\n",
                        quillet->second / plain->second);
        }
    }

private:
    std::map<std::string, double> m_ms;
};

}  // namespace

BENCHMARK(embedded)->Name("embedded/months360")->Unit(benchmark::kMillisecond);
BENCHMARK(postgres)->Name("postgres/months360")->Unit(benchmark::kMillisecond);
BENCHMARK(postgresPlainOdbc)->Name("postgres_plain_odbc/months360")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
