#include "engine/odbc/OdbcSession.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/common/Names.h"
#include "engine/common/StatementRun.h"
#include "engine/odbc/IdleSessions.h"
#include "engine/odbc/ManyRowsInsert.h"
#include "engine/odbc/OdbcDiagnostics.h"
#include "engine/odbc/SerialQuery.h"
#include "engine/odbc/SessionState.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

std::atomic<unsigned long> g_schemaGeneration{0};

void beginWrite(OdbcSession::Impl& session) {
    if (session.inTransaction) {
        throw engineFailure("A transaction is already open on this connection.", "25000");
    }
    session.rules->beginWrite(*session.connection);
    session.inTransaction = true;
    session.ranInTransaction = false;
    session.lockedTables.clear();
}

void endWrite(OdbcSession::Impl& session, bool commit) {
    if (!session.inTransaction) {
        throw engineFailure("No transaction is open on this connection.", "25000");
    }
    session.inTransaction = false;
    session.rules->endWrite(*session.connection, commit);
}

void forgetSchema(OdbcSession::Impl& session) {
    countSchemaChange();
    session.columns.forget();
    session.columnsGeneration = schemaGeneration();
    session.connection->forgetPrepared();
}

/// The kernel's steps on one ODBC session.
class Steps final : public engine::StatementSteps {
public:
    explicit Steps(OdbcSession::Impl& session) : m_session(session) {}

    bool writeTransactionOpen() const override { return m_session.inTransaction; }
    void beginWriteTransaction() override { beginWrite(m_session); }
    void endWriteTransaction(bool commit) override { endWrite(m_session, commit); }
    // NOTE: run directly, not prepared: through the PostgreSQL driver a prepared ROLLBACK TO
    // SAVEPOINT did not undo a failed write unit inside the caller's transaction; a direct one
    // does.
    void runSingle(const std::string& sql) override { m_session.connection->direct(sql); }

    std::vector<std::vector<std::string>> selectTexts(
        const std::string& sql, const std::vector<std::string>& values) override {
        std::vector<std::vector<std::string>> texts;
        for (const auto& row : m_session.connection->query(sql, values)) {
            std::vector<std::string>& line = texts.emplace_back();
            for (const Variant& value : row) {
                line.push_back(value.isNull() ? std::string() : value.toString());
            }
        }
        return texts;
    }

    void runWithValues(const std::string& sql,
                       const std::vector<engine::BoundValue>& values) override {
        std::vector<SqlBinding> bindings;
        bindings.reserve(values.size());
        for (const engine::BoundValue& value : values) {
            bindings.push_back(m_session.rules->bindingFor(
                std::holds_alternative<std::string>(value) ? engine::ColumnKind::Text
                                                           : engine::ColumnKind::Number));
        }
        executePrepared(m_session.connection->prepared(sql), values, bindings,
                        m_session.connection->habits());
    }

    RuntimeError failure(std::string description, std::string sqlState) const override {
        return engineFailure(std::move(description), std::move(sqlState));
    }

    ResultTable runStatement(const dialect::EngineStatement& statement,
                             const std::vector<engine::ColumnKind>* /*kinds*/) override {
        if (statement.parameters.empty()) {
            return m_session.connection->execute(statement.sql);
        }
        // Every value is converted before anything runs, so a refused value writes nothing.
        std::vector<engine::BoundValue> values;
        std::vector<SqlBinding> bindings;
        values.reserve(statement.parameters.size());
        bindings.reserve(statement.parameters.size());
        for (const dialect::Parameter& parameter : statement.parameters) {
            const engine::ColumnKind kind = targetKind(parameter);
            values.push_back(engine::boundValueFor(parameter, kind));
            bindings.push_back(m_session.rules->bindingFor(kind));
        }
        return executePrepared(m_session.connection->prepared(statement.sql), values, bindings,
                               m_session.connection->habits());
    }

    void alterColumn(const dialect::AlterColumn& change) override {
        m_session.rules->alterColumn(*this, *m_session.connection, change);
    }

    /// The kind of the column a parameter is written to.
    engine::ColumnKind kindOf(const dialect::Parameter& parameter) { return targetKind(parameter); }

private:
    engine::ColumnKind targetKind(const dialect::Parameter& parameter) {
        // Another session of this process may have changed a table since these were read: an
        // open session sees that change on its next statement, as an embedded connection does.
        if (m_session.columnsGeneration != schemaGeneration()) {
            m_session.columns.forget();
            m_session.columnsGeneration = schemaGeneration();
        }
        return m_session.columns.targetKind(parameter, [this](const std::string& table) {
            return m_session.rules->tableColumns(*m_session.connection, table);
        });
    }

    OdbcSession::Impl& m_session;
};

}  // namespace

unsigned long schemaGeneration() {
    return g_schemaGeneration;
}

void countSchemaChange() {
    ++g_schemaGeneration;
}

OdbcSession::OdbcSession(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

OdbcSession::~OdbcSession() {
    if (!m_impl) {
        return;
    }
    if (m_impl->inTransaction) {
        try {
            endWrite(*m_impl, false);
        } catch (const RuntimeError&) {
            return;  // the session is not sound: disconnecting ends the transaction anyway
        }
    }
    idle::put(std::move(m_impl));
}

ResultTable OdbcSession::execute(std::string_view accessSql) {
    try {
        ResultTable result = run(accessSql);
        m_impl->rules->respell(result, accessSql);
        return result;
    } catch (const RuntimeError& e) {
        if (const std::optional<RuntimeError> named = namingTheStore(e)) {
            throw *named;
        }
        std::string description = m_impl->rules->respeltNames(e.description(), accessSql);
        if (description == e.description()) {
            throw;
        }
        throw RuntimeError(e.number(), std::move(description), e.nativeCode(), e.sqlState());
    }
}

namespace {

// What a server or a SQLite file answers when the store, not the statement, refuses a write: a
// read-only transaction or server, a missing privilege, a full disk; a SQLite file says it in
// words under the general HY000.
bool storeRefusesWrites(const RuntimeError& e) {
    static const std::set<std::string, std::less<>> kServerStates = {"25006", "42501", "53100"};
    if (kServerStates.count(e.sqlState()) != 0) {
        return true;
    }
    const std::string lower = toLowerAscii(e.description());
    for (const std::string_view words : {"readonly database", "unable to open database file",
                                         "disk i/o error", "database or disk is full"}) {
        if (lower.find(words) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

// NOTE: the drivers' words for a store that cannot be reached or written ("internal SAVEPOINT
// failed", "attempt to write a readonly database (8)") name neither the data source nor its file,
// and an office has more than one store a desk could be writing to. A failure of the statement
// itself (a constraint, a type) stays in the words every back end uses.
std::optional<RuntimeError> OdbcSession::namingTheStore(const RuntimeError& e) const {
    const std::string place = m_impl->rules->place(m_impl->dataSource);
    if (e.description().find(place) != std::string::npos) {
        return std::nullopt;  // named already, by a step inside this one
    }
    if (!m_impl->connection->isAlive() || e.sqlState().rfind("08", 0) == 0) {
        return RuntimeError(e.number(),
                            "The connection to " + place + " was lost: " + e.description(),
                            e.nativeCode(), "08S01");
    }
    if (storeRefusesWrites(e)) {
        std::string head = place + " cannot be written: ";
        head.front() = 'T';
        return RuntimeError(e.number(), head + e.description(), e.nativeCode(), e.sqlState());
    }
    return std::nullopt;
}

template <class Step>
void OdbcSession::namingFailures(Step&& step) {
    try {
        step();
    } catch (const RuntimeError& e) {
        if (const std::optional<RuntimeError> named = namingTheStore(e)) {
            throw *named;
        }
        throw;
    }
}

ResultTable OdbcSession::run(std::string_view accessSql) {
    Impl& impl = *m_impl;
    const DatabaseRules& rules = *impl.rules;
    if (holdsSecondStatement(accessSql)) {
        throw engineFailure("Characters found after end of SQL statement.", "42000");
    }
    const dialect::Translation translation = dialect::translate(accessSql, rules.dialect());
    Steps steps(impl);
    if (impl.inTransaction) {
        impl.ranInTransaction = true;
        if (const std::optional<TableLock> lock = rules.lockBefore(accessSql);
            lock && impl.lockedTables.insert(toLowerAscii(lock->table)).second) {
            steps.runStatement(
                dialect::translate(lock->accessSql, rules.dialect()).statements.front(), nullptr);
        }
    }
    const bool alter = translation.alterColumn.has_value();
    const bool schemaChange =
        alter || (!translation.returnsRows && engine::isSchemaChange(accessSql));
    if (schemaChange && !alter) {
        rules.learnSpellings(accessSql);
    }
    ResultTable result = engine::runTranslation(steps, translation);
    if (alter) {
        rules.learnSpellings(accessSql);
    }
    if (schemaChange || translation.statements.size() > 1) {
        forgetSchema(impl);
    }
    return result;
}

namespace {

constexpr const char* kBatchSavepoint = "SAVEPOINT quillet_batch";
constexpr const char* kBatchRollback = "ROLLBACK TO SAVEPOINT quillet_batch";
constexpr const char* kBatchRelease = "RELEASE SAVEPOINT quillet_batch";
// Rows of one statement of many rows, and the values it may hold at most (far below the
// server's limit on a statement's parameters).
constexpr std::size_t kRowsPerInsert = 1000;
constexpr std::size_t kValuesPerInsert = 30000;

// The rows of the prepared one-row statement sql, as inserts of many rows where the driver's
// habits and the statement allow, else as parameter arrays.
void sendRows(OdbcConnection& connection, const std::string& sql,
              const std::vector<std::vector<engine::BoundValue>>& rows,
              const std::vector<SqlBinding>& bindings) {
    const DriverHabits& habits = connection.habits();
    const std::size_t perInsert =
        std::min(kRowsPerInsert, kValuesPerInsert / std::max<std::size_t>(1, bindings.size()));
    if (!habits.insertsManyRowsAtOnce || perInsert < 2 || !manyRowsInsert(sql, 1)) {
        executeArray(connection.arrayPrepared(sql), rows, bindings, habits);
        return;
    }
    for (std::size_t first = 0; first < rows.size(); first += perInsert) {
        const std::size_t count = std::min(perInsert, rows.size() - first);
        executeRows(connection.prepared(*manyRowsInsert(sql, count)), rows, first, count, bindings,
                    habits);
    }
}

}  // namespace

// NOTE: a batch goes as parameter arrays only when every statement is the same single
// parameterised write of a known shape, needing no lock of its own; anything else runs singly,
// as it always has. A batch that fails is undone to its savepoint and run again singly, so the
// statements before the failing one are written and the failure raised is that statement's own.
void OdbcSession::executeBatch(const std::vector<std::string>& accessSqls, std::size_t& ran) {
    namingFailures([&] { runBatch(accessSqls, ran); });
}

void OdbcSession::runBatch(const std::vector<std::string>& accessSqls, std::size_t& ran) {
    ran = 0;
    Impl& impl = *m_impl;
    const DatabaseRules& rules = *impl.rules;
    auto runSingly = [&] {
        for (; ran < accessSqls.size(); ++ran) {
            execute(accessSqls[ran]);
        }
    };
    if (!impl.inTransaction || !impl.connection->habits().bindsParameterArrays ||
        accessSqls.size() < 2) {
        runSingly();
        return;
    }
    // NOTE: through psqlODBC, a savepoint taken by the very first statement of a transaction is
    // gone by the time it is rolled back to; the first statement runs singly then.
    if (!impl.ranInTransaction) {
        execute(accessSqls.front());
        ran = 1;
    }
    const std::size_t first = ran;
    std::string sql;
    // The shape whose statements were found to be plain writes: a statement of the same shape
    // differs only in its literals, so it needs no second look.
    std::string checkedShape;
    std::vector<std::vector<dialect::Parameter>> parameters;
    parameters.reserve(accessSqls.size() - first);
    for (std::size_t i = first; i < accessSqls.size(); ++i) {
        const std::string& accessSql = accessSqls[i];
        const dialect::Translation* translated = nullptr;
        try {
            translated = &impl.translations.translate(accessSql).translation;
        } catch (const RuntimeError&) {
            // A statement the translator refuses fails alone, the ones before it written.
            runSingly();
            return;
        }
        const dialect::Translation& translation = *translated;
        const std::string_view shape = impl.translations.lastShape();
        if (shape.empty() || shape != checkedShape) {
            if (holdsSecondStatement(accessSql) || rules.lockBefore(accessSql) ||
                engine::isSchemaChange(accessSql)) {
                runSingly();
                return;
            }
            checkedShape = shape;
        }
        if (translation.returnsRows || translation.alterColumn ||
            translation.statements.size() != 1 ||
            translation.statements.front().parameters.empty() ||
            (!sql.empty() && translation.statements.front().sql != sql) ||
            (!parameters.empty() &&
             translation.statements.front().parameters.size() != parameters.front().size())) {
            runSingly();
            return;
        }
        if (sql.empty()) {
            sql = translation.statements.front().sql;
        }
        parameters.push_back(translation.statements.front().parameters);
    }
    Steps steps(impl);
    std::vector<SqlBinding> bindings;
    std::vector<engine::ColumnKind> kinds;
    for (const dialect::Parameter& parameter : parameters.front()) {
        kinds.push_back(steps.kindOf(parameter));
        bindings.push_back(rules.bindingFor(kinds.back()));
    }
    std::vector<std::vector<engine::BoundValue>> rows;
    rows.reserve(parameters.size());
    try {
        for (const auto& row : parameters) {
            std::vector<engine::BoundValue>& values = rows.emplace_back();
            values.reserve(row.size());
            for (std::size_t c = 0; c < row.size(); ++c) {
                values.push_back(engine::boundValueFor(row[c], kinds[c]));
            }
        }
    } catch (const RuntimeError&) {
        runSingly();  // a value the column refuses: the statements before it are written
        return;
    }
    impl.connection->direct(kBatchSavepoint);
    try {
        sendRows(*impl.connection, sql, rows, bindings);
    } catch (const RuntimeError&) {
        impl.connection->direct(kBatchRollback);
        impl.connection->direct(kBatchRelease);
        runSingly();
        return;
    }
    impl.connection->direct(kBatchRelease);
    ran = accessSqls.size();
}

void OdbcSession::beginTransaction() {
    namingFailures([&] { beginWrite(*m_impl); });
}

void OdbcSession::commit() {
    namingFailures([&] { endWrite(*m_impl, true); });
}

void OdbcSession::rollback() {
    namingFailures([&] { endWrite(*m_impl, false); });
}

std::string OdbcSession::textUnfitness() const {
    return m_impl->rules->textUnfitness();
}

void OdbcSession::lockSchemaChanges() {
    namingFailures([&] { m_impl->rules->lockSchemaChanges(*m_impl->connection); });
}

void OdbcSession::unlockSchemaChanges() {
    m_impl->rules->unlockSchemaChanges(*m_impl->connection);
}

bool OdbcSession::inTransaction() const {
    return m_impl->inTransaction;
}

dialect::Target OdbcSession::target() const {
    return m_impl->rules->dialect();
}

const std::string& OdbcSession::dbmsDescription() const {
    return m_impl->dbms;
}

}  // namespace quillet::odbc
