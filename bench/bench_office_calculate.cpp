// One Calculate on a PostgreSQL server on loopback through ODBC, beside limits that use none of
// Quillet's code: a few lines of plain C on the same driver, in the same process, writing the same
// rows (from the plain loop of PlainSchedule.h) the fastest ways the driver offers. Each limit
// does what a Calculate does: empty the table, write the rows, read them back in order inside the
// same transaction, commit. The two sides run alternately and the ratio printed is the median of
// the pairs' ratios, in elapsed time: the server's share of the work is the point here.
//
// Run it under scripts/with-postgres.sh (it registers "det" for its server):
//   scripts/with-postgres.sh build/bin/bench_office_calculate
#include <dirent.h>
#include <linux/tcp.h>
#include <netinet/in.h>
#include <sql.h>
#include <sqlext.h>
#include <sys/socket.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "PairedRatio.h"
#include "PlainSchedule.h"
#include "VekClass.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "run/ScheduleStoreRun.h"
#include "schema/SchemaCreation.h"

namespace {

// ---- The rows, from the plain loop ----------------------------------------------------------

constexpr std::size_t kColumns = 6;
using PlainRow = std::array<std::string, kColumns>;

std::string shortest(double value) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return std::string(buffer.data(), end);
}

// SN, the four figures as the shortest text that reads back as the same double, the date.
std::vector<PlainRow> plainRows(int months) {
    quillet::bench::PlainSchedule schedule(months);
    std::vector<PlainRow> rows(static_cast<std::size_t>(months));
    quillet::bench::PlainMonth month{};
    for (int i = 1; i <= months; ++i) {
        schedule.step(i, month);
        PlainRow& row = rows[static_cast<std::size_t>(i - 1)];
        row[0] = std::to_string(i);
        row[1] = shortest(month.opening);
        row[2] = shortest(month.interest);
        row[3] = shortest(month.principal);
        row[4] = shortest(month.closing);
        row[5] = "0000-00-00 00:00:00";
        quillet::bench::writeIsoDate(month, row[5].data());
    }
    return rows;
}

// ---- The limits: plain C on the ODBC API ----------------------------------------------------

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) {
        return;
    }
    SQLCHAR state[6] = {};
    SQLCHAR message[512] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    std::fprintf(stderr, "plain ODBC: %s failed: %s %s\n", what, state, message);
    std::exit(1);
}

SQLCHAR* text(const char* sql) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql));
}

// One connection for the whole run, with the same driver setting (rows per message) Quillet's
// sessions get.
class PlainOdbc {
public:
    PlainOdbc() {
        check(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env), SQL_HANDLE_ENV, m_env,
              "env");
        check(SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION,
                            reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
              SQL_HANDLE_ENV, m_env, "version");
        check(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc), SQL_HANDLE_ENV, m_env, "dbc");
        check(
            SQLDriverConnect(m_dbc, nullptr, text("DSN=det;UID=Admin;PWD=09octvel;BatchSize=1000"),
                             SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
            SQL_HANDLE_DBC, m_dbc, "connect");
    }
    ~PlainOdbc() {
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    PlainOdbc(const PlainOdbc&) = delete;
    PlainOdbc& operator=(const PlainOdbc&) = delete;

    // The rows as one multi-row INSERT of literals.
    long multiRowInsert(const std::vector<PlainRow>& rows) {
        begin();
        std::string sql = "INSERT INTO emi VALUES ";
        sql.reserve(rows.size() * 80);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            sql += r == 0 ? "(" : ",(";
            for (std::size_t c = 0; c + 1 < kColumns; ++c) {
                sql += rows[r][c];
                sql += ',';
            }
            sql += '\'';
            sql += rows[r][kColumns - 1];
            sql += "')";
        }
        direct(sql.c_str());
        return readBackAndCommit();
    }

    // The rows bound as parameter arrays to one prepared INSERT, executed once.
    long arrayBound(const std::vector<PlainRow>& rows) {
        begin();
        constexpr std::size_t kWidth = 32;
        const std::size_t count = rows.size();
        std::vector<char> values(kColumns * count * kWidth);
        std::vector<SQLLEN> lengths(kColumns * count);
        SQLHSTMT insert = SQL_NULL_HSTMT;
        check(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &insert), SQL_HANDLE_DBC, m_dbc, "stmt");
        check(SQLPrepare(insert, text("INSERT INTO emi VALUES(?,?,?,?,?,?)"), SQL_NTS),
              SQL_HANDLE_STMT, insert, "prepare");
        check(SQLSetStmtAttr(insert, SQL_ATTR_PARAM_BIND_TYPE,
                             reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0),
              SQL_HANDLE_STMT, insert, "bind type");
        check(
            SQLSetStmtAttr(insert, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(count), 0),
            SQL_HANDLE_STMT, insert, "paramset");
        for (std::size_t c = 0; c < kColumns; ++c) {
            char* column = values.data() + c * count * kWidth;
            SQLLEN* columnLengths = lengths.data() + c * count;
            for (std::size_t r = 0; r < count; ++r) {
                rows[r][c].copy(column + r * kWidth, kWidth - 1);
                columnLengths[r] = static_cast<SQLLEN>(rows[r][c].size());
            }
            const SQLSMALLINT type = c == 0              ? SQL_BIGINT
                                     : c == kColumns - 1 ? SQL_TYPE_TIMESTAMP
                                                         : SQL_NUMERIC;
            check(SQLBindParameter(insert, static_cast<SQLUSMALLINT>(c + 1), SQL_PARAM_INPUT,
                                   SQL_C_CHAR, type, kWidth - 1, 0, column, kWidth, columnLengths),
                  SQL_HANDLE_STMT, insert, "bind");
        }
        check(SQLExecute(insert), SQL_HANDLE_STMT, insert, "insert");
        SQLFreeHandle(SQL_HANDLE_STMT, insert);
        return readBackAndCommit();
    }

private:
    void direct(const char* sql) {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        check(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &statement), SQL_HANDLE_DBC, m_dbc, "stmt");
        check(SQLExecDirect(statement, text(sql), SQL_NTS), SQL_HANDLE_STMT, statement, "direct");
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
    }

    void begin() {
        check(SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
              SQL_HANDLE_DBC, m_dbc, "autocommit off");
        direct("DELETE FROM emi");
    }

    // Every row in order, fetched a thousand at a time into bound text columns.
    long readBackAndCommit() {
        constexpr SQLULEN kRowset = 1000;
        constexpr SQLLEN kWidth = 32;
        SQLHSTMT select = SQL_NULL_HSTMT;
        check(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &select), SQL_HANDLE_DBC, m_dbc, "stmt");
        check(SQLSetStmtAttr(select, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRowset),
                             0),
              SQL_HANDLE_STMT, select, "rowset");
        SQLULEN fetched = 0;
        check(SQLSetStmtAttr(select, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), SQL_HANDLE_STMT,
              select, "fetched");
        check(SQLExecDirect(select, text("SELECT * FROM emi ORDER BY sn"), SQL_NTS),
              SQL_HANDLE_STMT, select, "select");
        std::vector<char> values(kColumns * kRowset * kWidth);
        std::vector<SQLLEN> lengths(kColumns * kRowset);
        for (std::size_t c = 0; c < kColumns; ++c) {
            check(SQLBindCol(select, static_cast<SQLUSMALLINT>(c + 1), SQL_C_CHAR,
                             values.data() + c * kRowset * kWidth, kWidth,
                             lengths.data() + c * kRowset),
                  SQL_HANDLE_STMT, select, "bind column");
        }
        long rows = 0;
        while (SQL_SUCCEEDED(SQLFetch(select))) {
            rows += static_cast<long>(fetched);
        }
        SQLFreeHandle(SQL_HANDLE_STMT, select);
        check(SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_COMMIT), SQL_HANDLE_DBC, m_dbc, "commit");
        check(SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT,
                                reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
              SQL_HANDLE_DBC, m_dbc, "autocommit on");
        return rows;
    }

    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
};

// ---- Round trips ------------------------------------------------------------------------------

// The TCP segments carrying data that this process has sent to the server on its open
// connections: every request the driver writes is at least one, so the count bounds the round
// trips from above (a message longer than a segment counts more than once).
unsigned long long segmentsToServer(int port) {
    unsigned long long segments = 0;
    DIR* fds = ::opendir("/proc/self/fd");
    if (fds == nullptr) {
        return 0;
    }
    while (const dirent* entry = ::readdir(fds)) {
        const int fd = std::atoi(entry->d_name);
        sockaddr_in peer{};
        socklen_t peerLength = sizeof peer;
        if (fd <= 2 || ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 ||
            peer.sin_family != AF_INET || ntohs(peer.sin_port) != port) {
            continue;
        }
        tcp_info info{};
        socklen_t infoLength = sizeof info;
        if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &infoLength) == 0) {
            segments += info.tcpi_data_segs_out;
        }
    }
    ::closedir(fds);
    return segments;
}

// ---- Quillet's side ---------------------------------------------------------------------------

// A Calculate as the window runs it: the run reads its schedule back inside its transaction.
long calculate(const std::string& months) {
    quillet::ScheduleInputs inputs;
    inputs.months = months;
    inputs.decimals = "2";
    long rows = 0;
    quillet::ScheduleRunHooks hooks;
    hooks.readSchedule = [&rows](const std::shared_ptr<quillet::Connection>& connection) {
        rows = quillet::readStoredSchedule(connection)->RecordCount();
    };
    const quillet::ScheduleRunOutcome outcome = quillet::runScheduleToStore(inputs, hooks);
    if (outcome.failed) {
        std::fprintf(stderr, "Calculate failed: %s\n", outcome.errorDescription.c_str());
        std::exit(1);
    }
    return rows;
}

void expectRows(const char* side, long rows, int months) {
    if (rows != months) {
        std::fprintf(stderr, "%s read back %ld rows of %d\n", side, rows, months);
        std::exit(1);
    }
}

void compare(const char* what, int months, int pairs, double target,
             long (PlainOdbc::*limit)(const std::vector<PlainRow>&), PlainOdbc& plain) {
    const std::vector<PlainRow> rows = plainRows(months);
    const std::string monthsText = std::to_string(months);
    const auto figures = quillet::bench::pairedRatio(
        pairs, [&] { expectRows("Quillet", calculate(monthsText), months); },
        [&] { expectRows("the limit", (plain.*limit)(rows), months); }, quillet::bench::elapsedMs);
    quillet::bench::printPaired(what, figures, target);
    if (months == 32767) {
        std::printf("%-44s %9.3f ms (target under 1000 ms) %s\n", "  Calculate of 32767 months",
                    figures.oursMs, figures.oursMs < 1000 ? "met" : "MISSED");
    }
}

void countRoundTrips(int months, int port) {
    const std::string monthsText = std::to_string(months);
    calculate(monthsText);  // the session is opened and kept outside the count
    const unsigned long long before = segmentsToServer(port);
    expectRows("Quillet", calculate(monthsText), months);
    const unsigned long long sent = segmentsToServer(port) - before;
    const double target = months / 100.0 + 20;
    std::printf("%-44s %9llu sends (target under %.0f) %s\n",
                ("  sends to the server, " + monthsText + " months").c_str(), sent, target,
                static_cast<double>(sent) < target ? "met" : "MISSED");
}

}  // namespace

int main() {
    const char* port = std::getenv("QUILLET_TEST_PGPORT");
    if (port == nullptr) {
        std::printf("no PostgreSQL server: run under scripts/with-postgres.sh\n");
        return 0;
    }
    {
        quillet::Connection connection;
        connection.Open(quillet::defaultConnectionString());
        quillet::createMissingTables(connection);
    }
    PlainOdbc plain;
    std::printf(
        "PostgreSQL Calculate (delete, write, read back, commit) against plain C on the same "
        "driver, elapsed time, medians of interleaved pairs\n");
    compare("360 months vs one multi-row INSERT", 360, 41, 2.0, &PlainOdbc::multiRowInsert, plain);
    compare("360 months vs array-bound parameters", 360, 41, 2.0, &PlainOdbc::arrayBound, plain);
    compare("32767 months vs array-bound parameters", 32767, 7, 2.0, &PlainOdbc::arrayBound, plain);
    countRoundTrips(360, std::atoi(port));
    countRoundTrips(32767, std::atoi(port));
    return 0;
}
