#pragma once
/// \file
/// \brief What an engine offers the record-store layer: one open session on one data source.

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "quillet_store_export.h"
#include "runtime/Variant.h"

namespace quillet {

/// \brief The materialised outcome of one statement. A statement that returns no rows (insert,
/// update, delete, DDL) has returnsRows false and no columns.
struct ResultTable {
    bool returnsRows = false;
    std::vector<std::string> columns;
    std::vector<std::vector<Variant>> rows;
    long long rowsAffected = 0;
};

/// One value of a row given to a RowInsert: a whole number, a number, or a calendar date.
using RowValue = std::variant<long long, double, Date>;

/// \brief One insert statement prepared once and run for many rows, the rows' values given as
/// numbers and dates instead of literals in a statement text.
class RowInsert {
public:
    virtual ~RowInsert() = default;

    /// \brief Writes one row: the same row, with the same stored values and types, as the
    /// statement the insert was prepared from with these values written as its literals (a
    /// double as the shortest text that reads back as it, a date as #dd/Mmm/yyyy#). False, with
    /// nothing written, when a value cannot take this way (a date beyond year 9999, a value whose
    /// column would convert it): the caller then runs the row's statement text. Raises what that
    /// statement would raise.
    virtual bool insert(const std::vector<RowValue>& values) = 0;
};

/// \brief One open session of an engine. Statements arrive in the Access dialect, exactly as the
/// class writes them; the engine translates and runs them. Every failure is a RuntimeError.
class QUILLET_STORE_INTERNAL Session {
public:
    virtual ~Session() = default;

    /// Runs one statement. Dates come back as Date values from columns declared as dates.
    virtual ResultTable execute(std::string_view accessSql) = 0;

    /// A write transaction: once begun, no other writer can slip in until commit or rollback.
    virtual void beginTransaction() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    /// Why the database cannot hold every text (a server database in a narrow encoding), in
    /// words for its administrator, naming the fix; empty when it can.
    virtual std::string textUnfitness() const { return {}; }

    /// \brief Keeps other sessions, in this process or another, from changing the schema until
    /// unlockSchemaChanges: two set-ups creating the same tables at once would otherwise fail on
    /// the database's catalog. Nothing where a write transaction already keeps them out.
    virtual void lockSchemaChanges() {}
    /// Gives up what lockSchemaChanges took; a session lost meanwhile holds nothing anyway.
    virtual void unlockSchemaChanges() {}

    /// \brief Runs data-changing statements in order, with the outcome of running them one by
    /// one: when one fails, the statements before it stay written and its own failure is raised.
    /// ran counts the statements that ran, so on a failure it is the failing one's index. An
    /// engine may send them in fewer round trips; this one runs them singly.
    virtual void executeBatch(const std::vector<std::string>& accessSqls, std::size_t& ran) {
        for (ran = 0; ran < accessSqls.size(); ++ran) {
            execute(accessSqls[ran]);
        }
    }

    /// \brief A typed way to run statements shaped like accessSql (a single INSERT whose every
    /// value is a literal), or null when the engine offers none for it: the caller then runs each
    /// row's statement text through execute. accessSql itself is not run.
    virtual std::unique_ptr<RowInsert> prepareRowInsert(std::string_view accessSql) {
        static_cast<void>(accessSql);
        return nullptr;
    }
};

}  // namespace quillet
