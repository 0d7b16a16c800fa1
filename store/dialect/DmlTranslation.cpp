#include "dialect/DmlTranslation.h"

namespace quillet::dialect {

namespace {

// The parameter for a value that is one literal alone: 'text', a number with or without a sign,
// or #date#. Expressions, Null and names stay in the statement.
std::optional<Parameter> literalParameter(const StatementTokens& t, TokenRange value) {
    const auto [first, last] = value;
    if (first >= last) {
        return std::nullopt;
    }
    const Token& token = t[first];
    Parameter p;
    if (last - first == 1) {
        switch (token.kind) {
            case TokenKind::String:
                p.kind = Parameter::Kind::Text;
                p.value = unquoteString(token.text);
                return p;
            case TokenKind::Number:
                p.kind = Parameter::Kind::Number;
                p.value = token.text;
                return p;
            case TokenKind::DateLiteral:
                p.kind = Parameter::Kind::Date;
                p.value = formatIsoDate(token.date);
                return p;
            default:
                return std::nullopt;
        }
    }
    if (t.isSymbol(first, '-') || t.isSymbol(first, '+')) {
        const std::size_t digits = t.next(first + 1);
        if (digits + 1 == last && t[digits].kind == TokenKind::Number) {
            p.kind = Parameter::Kind::Number;
            p.value.reserve(1 + t[digits].text.size());
            p.value.append(token.text);
            p.value.append(t[digits].text);
            return p;
        }
    }
    return std::nullopt;
}

// Each literal value becomes "?" and a parameter, in the order of the values.
void liftLiterals(const StatementTokens& t, const std::vector<TokenRange>& values,
                  const std::string& table, const std::vector<std::string>* columns,
                  std::vector<Edit>& edits, std::vector<Parameter>& parameters) {
    for (std::size_t k = 0; k < values.size(); ++k) {
        auto p = literalParameter(t, values[k]);
        if (!p) {
            continue;
        }
        p->table = table;
        if (columns == nullptr) {
            p->position = static_cast<int>(k);
        } else if (k < columns->size()) {
            p->column = (*columns)[k];
        }
        edits.push_back(Edit{values[k].first, values[k].second, "?"});
        parameters.push_back(std::move(*p));
    }
}

}  // namespace

bool translateDelete(const StatementTokens& t, Translation& out) {
    std::size_t from = t.next(t.begin() + 1);
    if (t.isSymbol(from, '*')) {
        from = t.next(from + 1);
    }
    if (!t.isWord(from, "FROM")) {
        return false;
    }
    const std::vector<Edit> edits{Edit{t.begin(), from + 1, "DELETE FROM"}};
    out.statements.push_back(EngineStatement{t.render(t.begin(), t.end(), edits), {}});
    return true;
}

bool translateInsert(const StatementTokens& t, Translation& out) {
    const std::size_t into = t.next(t.begin() + 1);
    if (!t.isWord(into, "INTO")) {
        return false;
    }
    const std::size_t nameBegin = t.next(into + 1);
    const std::size_t nameEnd = t.nameEnd(nameBegin);
    if (nameEnd == nameBegin) {
        return false;
    }
    const std::string table = nameOf(t[nameEnd - 1]);

    std::size_t i = t.next(nameEnd);
    std::vector<std::string> columns;
    const bool hasColumnList = t.isSymbol(i, '(');
    if (hasColumnList) {
        const std::size_t close = t.closing(i, t.end());
        if (close == t.end()) {
            return false;
        }
        for (const auto& [first, last] : t.splitAtCommas(i + 1, close)) {
            if (first == last || t.nameEnd(first) != last) {
                return false;
            }
            columns.push_back(nameOf(t[last - 1]));
        }
        i = t.next(close + 1);
    }
    if (!t.isWord(i, "VALUES")) {
        return false;
    }

    EngineStatement statement;
    std::vector<Edit> edits;
    i = t.next(i + 1);
    while (true) {
        if (!t.isSymbol(i, '(')) {
            return false;
        }
        const std::size_t close = t.closing(i, t.end());
        if (close == t.end()) {
            return false;
        }
        liftLiterals(t, t.splitAtCommas(i + 1, close), table, hasColumnList ? &columns : nullptr,
                     edits, statement.parameters);
        const std::size_t after = t.next(close + 1);
        if (after == t.end()) {
            break;
        }
        if (!t.isSymbol(after, ',')) {
            return false;
        }
        i = t.next(after + 1);
    }
    statement.sql = t.render(t.begin(), t.end(), edits);
    out.statements.push_back(std::move(statement));
    return true;
}

bool translateUpdate(const StatementTokens& t, Translation& out) {
    const std::size_t nameBegin = t.next(t.begin() + 1);
    const std::size_t nameEnd = t.nameEnd(nameBegin);
    if (nameEnd == nameBegin) {
        return false;
    }
    const std::size_t set = t.next(nameEnd);
    if (!t.isWord(set, "SET")) {
        return false;
    }
    const std::string table = nameOf(t[nameEnd - 1]);
    const std::size_t assignmentsEnd = t.findWordAtTop(set + 1, t.end(), {"WHERE"});

    EngineStatement statement;
    std::vector<Edit> edits;
    std::vector<TokenRange> values;
    std::vector<std::string> columns;
    for (const auto& [first, last] : t.splitAtCommas(set + 1, assignmentsEnd)) {
        const std::size_t columnEnd = t.nameEnd(first);
        if (columnEnd == first || columnEnd >= last) {
            return false;
        }
        const std::size_t equals = t.next(columnEnd);
        if (!t.isSymbol(equals, '=') || equals >= last) {
            return false;
        }
        const std::size_t value = t.next(equals + 1);
        values.emplace_back(value < last ? value : last, last);
        columns.push_back(nameOf(t[columnEnd - 1]));
    }
    liftLiterals(t, values, table, &columns, edits, statement.parameters);
    statement.sql = t.render(t.begin(), t.end(), edits);
    out.statements.push_back(std::move(statement));
    return true;
}

}  // namespace quillet::dialect
