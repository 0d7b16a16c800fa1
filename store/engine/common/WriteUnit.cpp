#include "engine/common/WriteUnit.h"

namespace quillet::engine {

namespace {

constexpr const char* kSavepoint = "SAVEPOINT quillet_unit";
constexpr const char* kRollbackToSavepoint = "ROLLBACK TO SAVEPOINT quillet_unit";
constexpr const char* kReleaseSavepoint = "RELEASE SAVEPOINT quillet_unit";

}  // namespace

WriteUnit::WriteUnit(EngineLink& link)
    : m_link(link), m_ownsTransaction(!link.writeTransactionOpen()) {
    if (m_ownsTransaction) {
        m_link.beginWriteTransaction();
    } else {
        m_link.runSingle(kSavepoint);
    }
}

WriteUnit::~WriteUnit() {
    // NOTE: the engine may already have rolled the whole transaction back after some failures (a
    // full disk, for one); then there is nothing left to undo here.
    if (m_done || !m_link.writeTransactionOpen()) {
        return;
    }
    try {
        if (m_ownsTransaction) {
            m_link.endWriteTransaction(false);
        } else {
            m_link.runSingle(kRollbackToSavepoint);
            m_link.runSingle(kReleaseSavepoint);
        }
    } catch (const RuntimeError&) {
        // Clean-up path: the failure that brought us here is the one to report.
    }
}

void WriteUnit::commit() {
    if (m_ownsTransaction) {
        m_link.endWriteTransaction(true);
    } else {
        m_link.runSingle(kReleaseSavepoint);
    }
    m_done = true;
}

}  // namespace quillet::engine
