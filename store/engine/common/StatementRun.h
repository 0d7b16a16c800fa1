#pragma once
/// \file
/// \brief The one order in which an engine runs a translated statement.

#include <vector>

#include "dialect/AccessTranslator.h"
#include "engine/Session.h"
#include "engine/common/EngineLink.h"
#include "engine/common/ValueConversion.h"

namespace quillet::engine {

/// \brief What an engine does with the parts of a translation.
class StatementSteps : public EngineLink {
public:
    /// Runs one engine statement; kinds, when given, are its parameters' target column kinds.
    virtual ResultTable runStatement(const dialect::EngineStatement& statement,
                                     const std::vector<ColumnKind>* kinds) = 0;
    /// Changes a column's declared type.
    virtual void alterColumn(const dialect::AlterColumn& change) = 0;

protected:
    ~StatementSteps() = default;
};

/// \brief Runs a translation: an Alter column as such; one statement on its own (with its
/// parameters' kinds when known); several as one write unit, all or nothing, reporting the
/// rows all of them affected. An empty translation is refused (42000).
ResultTable runTranslation(StatementSteps& steps, const dialect::Translation& translation,
                           const std::vector<ColumnKind>* singleKinds = nullptr);

}  // namespace quillet::engine
