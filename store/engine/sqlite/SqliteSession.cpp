#include "engine/sqlite/SqliteSession.h"

#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "engine/common/ColumnKindCache.h"
#include "engine/common/Names.h"
#include "engine/common/StatementRun.h"
#include "engine/common/TableRebuild.h"
#include "engine/common/TranslationCache.h"
#include "engine/common/WriteUnit.h"
#include "engine/sqlite/SqliteErrors.h"
#include "engine/sqlite/SqliteStatements.h"
#include "engine/sqlite/StoreKeeper.h"
#include "engine/sqlite/TextFolding.h"
#include "runtime/Date.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet::sqlite {

namespace {

// The WAL file is cut back to this size whenever it starts over; with the automatic checkpoint
// every 1000 pages (4 MB) it stays within a few MB plus the largest single transaction.
constexpr const char* kWalSizeLimit = "PRAGMA journal_size_limit = 4194304";

using engine::BoundValue;
using engine::ColumnKind;
using engine::TableColumn;

}  // namespace

struct SqliteSession::Impl final : engine::StatementSteps {
    explicit Impl(DatabaseHandle handle) : db(std::move(handle)), statements(db.get()) {}

    DatabaseHandle db;
    // Declared after the database: its statements are finalised before the database closes.
    StatementCache statements;
    engine::TranslationCache translations;
    // The values bound to the statement running now. The engine reads texts from here instead of
    // copying each one: they stay put until the next statement, after this one was reset.
    std::vector<BoundValue> boundValues;
    // Declared column kinds by table, valid for one schema version.
    engine::ColumnKindCache columns;
    long long columnsSchemaVersion = -1;
    // The schema version was read within the write transaction still open: no other connection
    // can change the schema before it ends, so it need not be read again for every row.
    bool columnsChecked = false;
    bool columnsCheckedThisStatement = false;

    // ---- The kernel's primitive steps ----------------------------------------------------------

    bool writeTransactionOpen() const override { return sqlite3_get_autocommit(db.get()) == 0; }
    void beginWriteTransaction() override { exec(db.get(), "BEGIN IMMEDIATE"); }
    void endWriteTransaction(bool commit) override {
        exec(db.get(), commit ? "COMMIT" : "ROLLBACK");
    }

    // One statement, prepared on its own and stepped to its end; a second statement in sql is
    // refused before anything runs.
    void runSingle(const std::string& sql) override {
        const StatementHandle statement = statements.prepare(sql);
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(statement.get());
        }
        check(db.get(), rc);
    }

    std::vector<std::vector<std::string>> selectTexts(
        const std::string& sql, const std::vector<std::string>& values) override {
        sqlite3_stmt* statement = statements.get(sql);
        const StatementUse use(statement);
        for (std::size_t i = 0; i < values.size(); ++i) {
            check(db.get(),
                  sqlite3_bind_text64(statement, static_cast<int>(i) + 1, values[i].data(),
                                      values[i].size(), SQLITE_TRANSIENT, SQLITE_UTF8));
        }
        std::vector<std::vector<std::string>> rows;
        const int count = sqlite3_column_count(statement);
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            std::vector<std::string>& row = rows.emplace_back();
            for (int c = 0; c < count; ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                row.emplace_back(text != nullptr ? text : "");
            }
        }
        check(db.get(), rc);
        return rows;
    }

    void runWithValues(const std::string& sql, const std::vector<BoundValue>& values) override {
        sqlite3_stmt* statement = statements.get(sql);
        const StatementUse use(statement);
        runBound(db.get(), statement, values);
    }

    RuntimeError failure(std::string description, std::string sqlState) const override {
        return engineFailure(std::move(description), SQLITE_ERROR, std::move(sqlState));
    }

    // knownKinds: the parameters' target kinds when already looked up, else null.
    ResultTable runStatement(const dialect::EngineStatement& engineStatement,
                             const std::vector<ColumnKind>* knownKinds) override {
        sqlite3_stmt* statement = statements.get(engineStatement.sql);
        const StatementUse use(statement);
        const auto& parameters = engineStatement.parameters;
        if (sqlite3_bind_parameter_count(statement) != static_cast<int>(parameters.size())) {
            throw engineFailure("The statement's values do not match its placeholders.",
                                SQLITE_RANGE, "07002");
        }
        // Every value is converted before anything runs, so a refused value writes nothing.
        boundValues.clear();
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            const ColumnKind kind =
                knownKinds != nullptr ? (*knownKinds)[i] : targetKind(parameters[i]);
            boundValues.push_back(valueFor(parameters[i], kind));
        }
        ResultTable result = runBound(db.get(), statement, boundValues);
        if (engine::isSchemaChange(engineStatement.sql)) {
            columnsChecked = false;
            columnsCheckedThisStatement = false;
        }
        return result;
    }

    void alterColumn(const dialect::AlterColumn& change) override {
        engine::rebuildWithColumnType(*this, change);
        columns.forget();
        columnsSchemaVersion = -1;
        columnsChecked = false;
        columnsCheckedThisStatement = false;
    }

    // ---- Opening -------------------------------------------------------------------------------

    long long queryInteger(const char* sql) {
        StatementHandle statement = statements.prepare(sql);
        const int rc = sqlite3_step(statement.get());
        check(db.get(), rc);
        return rc == SQLITE_ROW ? static_cast<long long>(sqlite3_column_int64(statement.get(), 0))
                                : 0;
    }

    void prepareStore(std::string_view schema) {
        // Reading the catalogue is the first real read: a file that is not a database fails
        // here, before anything is written to it.
        const long long tables = queryInteger("SELECT count(*) FROM sqlite_master");
        exec(db.get(), "PRAGMA journal_mode = WAL");
        // In WAL mode NORMAL keeps the file consistent after a crash and skips a sync per
        // commit; a power loss can cost at most the last transactions.
        exec(db.get(), "PRAGMA synchronous = NORMAL");
        exec(db.get(), kWalSizeLimit);
        if (tables == 0) {
            createSchema(schema);
        }
    }

    void createSchema(std::string_view schema) {
        engine::WriteUnit unit(*this);
        // Another program may have created it while this one waited for the write lock.
        if (queryInteger("SELECT count(*) FROM sqlite_master") == 0) {
            exec(db.get(), std::string(schema));
            exec(db.get(), "PRAGMA user_version = 1");
        }
        unit.commit();
    }

    // ---- Column kinds --------------------------------------------------------------------------

    // Forget cached column kinds when this or another connection changed the schema.
    void refreshColumnKinds() {
        if (columnsChecked || columnsCheckedThisStatement) {
            return;
        }
        sqlite3_stmt* statement = statements.get("PRAGMA schema_version");
        const StatementUse use(statement);
        const int rc = sqlite3_step(statement);
        check(db.get(), rc);
        const long long version =
            rc == SQLITE_ROW ? static_cast<long long>(sqlite3_column_int64(statement, 0)) : -1;
        if (version != columnsSchemaVersion) {
            columns.forget();
            columnsSchemaVersion = version;
        }
        columnsCheckedThisStatement = true;
        columnsChecked = sqlite3_txn_state(db.get(), "main") == SQLITE_TXN_WRITE;
    }

    // Before each statement: outside a write transaction another connection may change the
    // schema between two statements.
    void beginStatement() {
        columnsCheckedThisStatement = false;
        if (sqlite3_txn_state(db.get(), "main") != SQLITE_TXN_WRITE) {
            columnsChecked = false;
        }
    }

    // The target kinds of a single statement's parameters, looked up once per schema version.
    const std::vector<ColumnKind>& parameterKinds(engine::CachedTranslation& cached) {
        const auto& parameters = cached.translation.statements.front().parameters;
        if (!parameters.empty()) {
            refreshColumnKinds();
        }
        if (cached.kindsVersion != columns.epoch() || cached.kinds.size() != parameters.size()) {
            cached.kinds.clear();
            for (const dialect::Parameter& parameter : parameters) {
                cached.kinds.push_back(targetKind(parameter));
            }
            cached.kindsVersion = columns.epoch();
        }
        return cached.kinds;
    }

    std::vector<TableColumn> readColumns(const std::string& table) {
        const auto rows = selectTexts("SELECT name, type FROM pragma_table_info(?1)", {table});
        std::vector<TableColumn> infos;
        infos.reserve(rows.size());
        for (const auto& row : rows) {
            infos.push_back({toLowerAscii(row[0]), engine::columnKindOf(row[1])});
        }
        return infos;
    }

    ColumnKind targetKind(const dialect::Parameter& parameter) {
        if (parameter.table.empty()) {
            return ColumnKind::Unknown;
        }
        refreshColumnKinds();
        return columns.targetKind(parameter,
                                  [this](const std::string& table) { return readColumns(table); });
    }
};

SqliteSession::SqliteSession(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

SqliteSession::~SqliteSession() = default;

std::unique_ptr<SqliteSession> SqliteSession::open(const std::filesystem::path& file,
                                                   std::string_view schemaForNewStore) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    DatabaseHandle db(raw);
    if (rc != SQLITE_OK) {
        // The handle of a failed open no longer knows its file name; the reason is added here.
        const RuntimeError error = engineError(db.get(), rc);
        const std::string reason = accessFailureReason(file);
        throw RuntimeError(
            error.number(),
            reason.empty() ? error.description() : error.description() + " (" + reason + ")",
            error.nativeCode(), error.sqlState());
    }
    // The engine falls back to reading a file it may not write; every caller writes, so a
    // read-only store is refused here with its reason instead of failing at the first change.
    if (sqlite3_db_readonly(db.get(), "main") == 1) {
        const std::string reason = accessFailureReason(file);
        throw engineFailure("the file is read-only" + (reason.empty() ? "" : " (" + reason + ")"),
                            SQLITE_READONLY, "25006");
    }
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    installTextFolding(db.get());
    // NOTE: every operation opens and closes its own connection. Closing the last connection
    // would checkpoint the WAL into the database and delete it, with two syncs each time; the
    // automatic checkpoints, with the connection kept open below, bound the WAL instead, and the
    // kept connection leaves the database file whole when the program ends.
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int persistWal = 1;
    sqlite3_file_control(db.get(), "main", SQLITE_FCNTL_PERSIST_WAL, &persistWal);
    auto impl = std::make_unique<Impl>(std::move(db));
    impl->prepareStore(schemaForNewStore);
    keepStoreOpen(file);
    return std::make_unique<SqliteSession>(std::move(impl));
}

ResultTable SqliteSession::execute(std::string_view accessSql) {
    Impl& impl = *m_impl;
    engine::CachedTranslation& cached = impl.translations.translate(accessSql);
    const dialect::Translation& translation = cached.translation;
    impl.beginStatement();
    const bool single = !translation.alterColumn && translation.statements.size() == 1;
    return engine::runTranslation(impl, translation,
                                  single ? &impl.parameterKinds(cached) : nullptr);
}

void SqliteSession::beginTransaction() {
    m_impl->columnsChecked = false;
    m_impl->beginWriteTransaction();
}

void SqliteSession::commit() {
    m_impl->endWriteTransaction(true);
}

void SqliteSession::rollback() {
    m_impl->endWriteTransaction(false);
}

bool SqliteSession::inTransaction() const {
    return m_impl->writeTransactionOpen();
}

namespace {

// NOTE: a row statement's texts cost more than its write: each number is written out as a
// literal, the statement scanned for its shape, and the literals read back into the values they
// started from. This binds those values directly, converted exactly as the literals would be.
class SqliteRowInsert final : public RowInsert {
public:
    SqliteRowInsert(SqliteSession::Impl& impl, dialect::EngineStatement statement)
        : m_impl(impl),
          m_statement(std::move(statement)),
          m_bound(m_statement.parameters.size()),
          m_texts(m_statement.parameters.size()) {}

    bool insert(const std::vector<RowValue>& values) override {
        const auto& parameters = m_statement.parameters;
        if (values.size() != parameters.size()) {
            return false;
        }
        m_impl.beginStatement();
        m_impl.refreshColumnKinds();
        if (m_kindsVersion != m_impl.columns.epoch()) {
            // First row, or another connection changed the schema since the last one.
            m_kinds.clear();
            for (const dialect::Parameter& parameter : parameters) {
                m_kinds.push_back(m_impl.targetKind(parameter));
            }
            m_kindsVersion = m_impl.columns.epoch();
        }
        // Every value is converted before anything runs, so a refused value writes nothing.
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!convert(values[i], parameters[i].kind, m_kinds[i], m_bound[i], m_texts[i])) {
                return false;
            }
        }
        sqlite3* db = m_impl.db.get();
        sqlite3_stmt* prepared = m_impl.statements.get(m_statement.sql);
        // Every parameter is bound for every row: resetting is all a later use needs.
        const struct Reset {
            sqlite3_stmt* statement;
            ~Reset() { sqlite3_reset(statement); }
        } reset{prepared};
        if (sqlite3_bind_parameter_count(prepared) != static_cast<int>(parameters.size())) {
            throw engineFailure("The statement's values do not match its placeholders.",
                                SQLITE_RANGE, "07002");
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int index = static_cast<int>(i) + 1;
            const Bound& value = m_bound[i];
            const int rc = value.kind == Bound::Whole
                               ? sqlite3_bind_int64(prepared, index, value.whole)
                           : value.kind == Bound::Number
                               ? sqlite3_bind_double(prepared, index, value.number)
                               : sqlite3_bind_text64(prepared, index, m_texts[i].data(),
                                                     m_texts[i].size(), SQLITE_STATIC, SQLITE_UTF8);
            check(db, rc);
        }
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(prepared);
        }
        check(db, rc);
        return true;
    }

private:
    struct Bound {
        enum Kind { Whole, Number, Text } kind = Whole;
        long long whole = 0;
        double number = 0;
    };

    // What the literal of value binds as: a whole number of at most 15 digits as an integer,
    // any other number as a double (the engine's plain reading of a number literal), a date as
    // its stored form yyyy-mm-dd (the literal #dd/Mmm/yyyy# read for a date column). False for a
    // pairing the literal's general conversion would decide.
    static bool convert(const RowValue& value, dialect::Parameter::Kind literal, ColumnKind kind,
                        Bound& out, std::string& text) {
        if (const auto* date = std::get_if<Date>(&value)) {
            if (literal != dialect::Parameter::Kind::Date || kind != ColumnKind::Date ||
                date->hasTime() || !isValidDate(date->year, date->month, date->day)) {
                return false;
            }
            out.kind = Bound::Text;
            text.resize(10);
            const int fields[] = {date->year / 1000, date->year / 100 % 10, date->year / 10 % 10,
                                  date->year % 10,   date->month / 10,      date->month % 10,
                                  date->day / 10,    date->day % 10};
            const int at[] = {0, 1, 2, 3, 5, 6, 8, 9};
            for (std::size_t k = 0; k < 8; ++k) {
                text[static_cast<std::size_t>(at[k])] = static_cast<char>('0' + fields[k]);
            }
            text[4] = text[7] = '-';
            return true;
        }
        if (literal != dialect::Parameter::Kind::Number ||
            (kind != ColumnKind::Number && kind != ColumnKind::Unknown)) {
            return false;
        }
        constexpr long long kFifteenDigits = 1000000000000000LL;
        if (const auto* whole = std::get_if<long long>(&value)) {
            if (*whole <= -kFifteenDigits || *whole >= kFifteenDigits) {
                return false;
            }
            out.kind = Bound::Whole;
            out.whole = *whole;
            return true;
        }
        const double number = std::get<double>(value);
        if (!(std::fabs(number) < static_cast<double>(kFifteenDigits))) {
            return false;
        }
        if (number == std::trunc(number)) {
            out.kind = Bound::Whole;
            out.whole = static_cast<long long>(number);
        } else {
            out.kind = Bound::Number;
            out.number = number;
        }
        return true;
    }

    SqliteSession::Impl& m_impl;
    const dialect::EngineStatement m_statement;
    std::vector<ColumnKind> m_kinds;
    long long m_kindsVersion = -1;
    // Scratch kept from row to row: the converted values and the texts bound without a copy.
    std::vector<Bound> m_bound;
    std::vector<std::string> m_texts;
};

}  // namespace

std::unique_ptr<RowInsert> SqliteSession::prepareRowInsert(std::string_view accessSql) {
    const dialect::Translation& translation = m_impl->translations.translate(accessSql).translation;
    if (translation.alterColumn || translation.statements.size() != 1) {
        return nullptr;
    }
    const dialect::EngineStatement& statement = translation.statements.front();
    for (const dialect::Parameter& parameter : statement.parameters) {
        if (parameter.kind == dialect::Parameter::Kind::Text) {
            return nullptr;
        }
    }
    return std::make_unique<SqliteRowInsert>(*m_impl, statement);
}

}  // namespace quillet::sqlite
