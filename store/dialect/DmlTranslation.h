#pragma once
/// \file
/// \brief DELETE, INSERT and UPDATE of the Access dialect.

#include "dialect/AccessTranslator.h"
#include "dialect/StatementTokens.h"

namespace quillet::dialect {

/// \brief "Delete * from t ..." and "delete from t ..." as "DELETE FROM t ...". False, with out
/// untouched, for any other shape.
bool translateDelete(const StatementTokens& tokens, Translation& out);

/// \brief "insert into t [(c, ...)] values(v, ...)" with each value that is a single literal
/// turned into a parameter; nothing may follow the value lists. False, with out untouched, for any
/// other shape.
bool translateInsert(const StatementTokens& tokens, Translation& out);

/// \brief "UPDATE t SET c = v, ... [WHERE ...]" with each assigned value that is a single literal
/// turned into a parameter. False, with out untouched, for any other shape.
bool translateUpdate(const StatementTokens& tokens, Translation& out);

}  // namespace quillet::dialect
