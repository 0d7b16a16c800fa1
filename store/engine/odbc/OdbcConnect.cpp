// Opening an ODBC session: a kept idle one when there is one, else a new connection whose
// driver's DBMS picks the database system's rules.
#include <string>

#include "engine/odbc/IdleSessions.h"
#include "engine/odbc/OdbcRegistry.h"
#include "engine/odbc/OdbcSession.h"
#include "engine/odbc/SessionState.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

constexpr int kParameterRowsPerSend = 1000;

// A connection-string value, braced when it holds what would end or open one.
std::string attributeValue(const std::string& value) {
    if (value.find_first_of(";{}") == std::string::npos &&
        (value.empty() || value.front() != ' ')) {
        return value;
    }
    std::string out = "{";
    for (const char c : value) {
        out += c;
        if (c == '}') {
            out += '}';
        }
    }
    return out + "}";
}

// NOTE: the class writes "userID= Admin;Password= secret": the blank after '=' belongs to its
// connection string, not to the credential, and a server login with a leading blank fails.
std::string withoutLeadingBlank(const std::string& value) {
    return !value.empty() && value.front() == ' ' ? value.substr(1) : value;
}

}  // namespace

std::unique_ptr<OdbcSession> OdbcSession::open(const std::string& dataSource,
                                               const std::string& user,
                                               const std::string& password) {
    // Credentials stored with the data source win; ours go only where it stores none.
    const std::string sentUser = withoutLeadingBlank(user);
    const std::string sentPassword = withoutLeadingBlank(password);
    const std::string key = toLowerAscii(dataSource) + '\n' + sentUser + '\n' + sentPassword;
    if (std::unique_ptr<Impl> kept = idle::take(key)) {
        // NOTE: column types read before are kept while this process changed no schema; another
        // desk changing a column's type meanwhile is met by the server's own type check.
        if (kept->columnsGeneration != schemaGeneration()) {
            kept->columns.forget();
            kept->columnsGeneration = schemaGeneration();
        }
        kept->lockedTables.clear();
        return std::make_unique<OdbcSession>(std::move(kept));
    }
    auto impl = std::make_unique<Impl>();
    impl->key = key;
    impl->dataSource = dataSource;
    impl->columnsGeneration = schemaGeneration();

    std::string connection = "DSN=" + attributeValue(dataSource);
    if (storedAttribute(dataSource, {"UID", "Username", "User", "UserName"}).empty() &&
        !sentUser.empty()) {
        connection += ";UID=" + attributeValue(sentUser);
    }
    if (storedAttribute(dataSource, {"PWD", "Password"}).empty() && !sentPassword.empty()) {
        connection += ";PWD=" + attributeValue(sentPassword);
    }
    // NOTE: psqlODBC sends an array of parameters in chunks of this many rows (100 unless told):
    // a batch of the schedule run then goes in one round trip. Drivers that do not know the
    // keyword ignore it.
    connection += ";BatchSize=" + std::to_string(kParameterRowsPerSend);
    const std::string prefix = "The data source '" + dataSource + "' cannot be opened: ";
    impl->connection = OdbcConnection::connect(connection, sentPassword, prefix);

    const std::string dbmsName = impl->connection->dbmsName();
    const std::string version = impl->connection->dbmsVersion();
    impl->rules = rulesForDbms(dbmsName);
    if (!impl->rules) {
        throw RuntimeError(err::StoreConnectFailed,
                           prefix + "its database system, '" + dbmsName +
                               "', is not supported (supported: " + supportedDbmsNames() + ").",
                           0, "HY000");
    }
    impl->rules->connected(*impl->connection);
    impl->translations = engine::TranslationCache(impl->rules->dialect());
    impl->dbms = dbmsName + " " + version;
    return std::make_unique<OdbcSession>(std::move(impl));
}

}  // namespace quillet::odbc
