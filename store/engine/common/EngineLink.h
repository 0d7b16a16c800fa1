#pragma once
/// \file
/// \brief What the engine kernel asks of one open session, whatever the database behind it:
/// the few primitive steps from which the kernel builds write units and table rebuilds.

#include <string>
#include <vector>

#include "engine/common/ValueConversion.h"
#include "runtime/RuntimeError.h"

namespace quillet::engine {

/// \brief The primitive steps of an open session. Each engine implements them once; the kernel
/// composes them.
class EngineLink {
public:
    /// True while a write transaction is open on the session.
    virtual bool writeTransactionOpen() const = 0;
    /// Opens a write transaction that no other writer can slip into.
    virtual void beginWriteTransaction() = 0;
    /// Commits or rolls back the open write transaction.
    virtual void endWriteTransaction(bool commit) = 0;
    /// Runs exactly one statement in the engine's own dialect; text after it is never run.
    virtual void runSingle(const std::string& sql) = 0;
    /// Runs one query with values bound to its "?" placeholders as texts; every column is read
    /// as text (a Null as "").
    virtual std::vector<std::vector<std::string>> selectTexts(
        const std::string& sql, const std::vector<std::string>& values) = 0;
    /// Runs exactly one statement with values bound to its "?" placeholders as what they are (a
    /// Null, a whole number, a double or a text), so a number reaches the engine exactly.
    virtual void runWithValues(const std::string& sql, const std::vector<BoundValue>& values) = 0;
    /// A failure of the kernel's own making, carrying the engine's native code.
    virtual RuntimeError failure(std::string description, std::string sqlState) const = 0;

protected:
    ~EngineLink() = default;
};

}  // namespace quillet::engine
