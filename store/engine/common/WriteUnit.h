#pragma once
/// \file
/// \brief All or nothing for work made of several statements.

#include "engine/common/EngineLink.h"

namespace quillet::engine {

/// \brief A write unit: its own write transaction when none is open, a savepoint inside the
/// caller's otherwise. Rolled back when it ends without commit().
class WriteUnit {
public:
    explicit WriteUnit(EngineLink& link);
    ~WriteUnit();
    WriteUnit(const WriteUnit&) = delete;
    WriteUnit& operator=(const WriteUnit&) = delete;

    void commit();

private:
    EngineLink& m_link;
    bool m_ownsTransaction;
    bool m_done = false;
};

}  // namespace quillet::engine
