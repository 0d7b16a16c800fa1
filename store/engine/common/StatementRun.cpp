#include "engine/common/StatementRun.h"

#include "engine/common/WriteUnit.h"

namespace quillet::engine {

ResultTable runTranslation(StatementSteps& steps, const dialect::Translation& translation,
                           const std::vector<ColumnKind>* singleKinds) {
    if (translation.alterColumn) {
        steps.alterColumn(*translation.alterColumn);
        return {};
    }
    if (translation.statements.empty() || translation.statements.front().sql.empty()) {
        throw steps.failure("Invalid SQL statement: the statement is empty.", "42000");
    }
    if (translation.statements.size() == 1) {
        return steps.runStatement(translation.statements.front(), singleKinds);
    }
    WriteUnit unit(steps);
    ResultTable last;
    long long affected = 0;
    for (const dialect::EngineStatement& statement : translation.statements) {
        last = steps.runStatement(statement, nullptr);
        affected += last.rowsAffected;
    }
    unit.commit();
    last.rowsAffected = affected;
    return last;
}

}  // namespace quillet::engine
