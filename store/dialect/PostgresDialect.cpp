#include "dialect/PostgresDialect.h"

#include <vector>

#include "dialect/Tokenizer.h"
#include "runtime/Text.h"

namespace quillet::dialect {

namespace {

bool startsWithWord(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && equalsIgnoringCase(text.substr(0, word.size()), word) &&
           (text.size() == word.size() ||
            !isNameByte(static_cast<unsigned char>(text[word.size()])));
}

// NOTE: PostgreSQL folds unquoted names to lower case, and the tables are created with unquoted
// names; a bracketed name therefore means its folded, double-quoted form.
std::string foldedQuotedName(const Token& token) {
    std::string out = "\"";
    for (const char c : nameOf(token)) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    out += '"';
    return toLowerAscii(out);
}

std::string adaptStatement(std::string_view sql) {
    const std::vector<Token> tokens = tokenize(sql);
    std::string out;
    out.reserve(sql.size() + 8);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (isKeyword(token, "LIKE")) {
            out += "ILIKE";
        } else if (isKeyword(token, "COLLATE")) {
            // "COLLATE NOCASE": citext already compares without regard to case.
            std::size_t k = i + 1;
            while (k < tokens.size() && tokens[k].kind == TokenKind::Space) {
                ++k;
            }
            if (k < tokens.size() && isKeyword(tokens[k], "NOCASE")) {
                while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) {
                    out.pop_back();
                }
                i = k;
                continue;
            }
            out += token.text;
        } else if (token.kind == TokenKind::BracketName) {
            out += foldedQuotedName(token);
        } else {
            out += token.text;
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> postgresColumnType(std::string_view sqliteType) {
    if (startsWithWord(sqliteType, "TEXT")) {
        return "citext";
    }
    if (startsWithWord(sqliteType, "NUMBER")) {
        return "numeric";
    }
    if (startsWithWord(sqliteType, "DOUBLE")) {
        return "double precision";
    }
    if (startsWithWord(sqliteType, "INTEGER")) {
        return "bigint";
    }
    if (startsWithWord(sqliteType, "DATE")) {
        return "timestamp(0)";
    }
    if (startsWithWord(sqliteType, "BLOB")) {
        return "bytea";
    }
    return std::nullopt;
}

void adaptForPostgres(Translation& translation) {
    for (EngineStatement& statement : translation.statements) {
        statement.sql = adaptStatement(statement.sql);
    }
    if (translation.alterColumn) {
        translation.alterColumn->type = adaptStatement(translation.alterColumn->type);
    }
}

}  // namespace quillet::dialect
