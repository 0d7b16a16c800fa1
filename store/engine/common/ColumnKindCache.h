#pragma once
/// \file
/// \brief The declared kinds of tables' columns, remembered so that binding a row's values does
/// not ask the catalog again.

#include <string>
#include <unordered_map>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "engine/common/Names.h"
#include "engine/common/ValueConversion.h"
#include "runtime/Text.h"

namespace quillet::engine {

/// \brief Column kinds by table. The engine decides when they may be stale and calls forget();
/// epoch() counts those times, so kinds kept elsewhere can tell they are out of date.
class ColumnKindCache {
public:
    /// \brief The columns of table (as the dialect hands it over), read through
    /// load(bare table name) the first time it is asked for.
    template <class Load>
    const std::vector<TableColumn>& columns(std::string_view table, Load&& load) {
        const std::string bare = bareName(table);
        std::string key = toLowerAscii(bare);
        if (const auto found = m_columns.find(key); found != m_columns.end()) {
            return found->second;
        }
        std::vector<TableColumn> loaded = load(bare);
        return m_columns.emplace(std::move(key), std::move(loaded)).first->second;
    }

    /// \brief The kind of the column a lifted literal goes to; Unknown when the statement names
    /// no table or the table has no such column.
    template <class Load>
    ColumnKind targetKind(const dialect::Parameter& parameter, Load&& load) {
        if (parameter.table.empty()) {
            return ColumnKind::Unknown;
        }
        const std::vector<TableColumn>& known = columns(parameter.table, load);
        const std::string wanted =
            parameter.column.empty() ? std::string() : toLowerAscii(bareName(parameter.column));
        return targetColumnKind(known, wanted, parameter.position);
    }

    void forget() {
        m_columns.clear();
        ++m_epoch;
    }

    long long epoch() const { return m_epoch; }

private:
    std::unordered_map<std::string, std::vector<TableColumn>> m_columns;
    long long m_epoch = 0;
};

}  // namespace quillet::engine
