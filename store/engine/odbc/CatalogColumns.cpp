#include "engine/odbc/CatalogColumns.h"

#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

std::string textOf(const Variant& value) {
    return value.isNull() ? std::string() : value.toString();
}

}  // namespace

std::vector<engine::TableColumn> catalogTableColumns(OdbcConnection& connection,
                                                     const std::string& catalogName,
                                                     const std::string& table,
                                                     const std::string& schema) {
    std::vector<engine::TableColumn> infos;
    for (const auto& row : connection.catalogColumns(catalogName)) {
        if (row.size() < 6) {
            continue;
        }
        const bool inSchema = schema.empty() || textOf(row[1]) == schema;
        if (inSchema && equalsIgnoringCase(textOf(row[2]), table)) {
            infos.push_back({toLowerAscii(textOf(row[3])), engine::columnKindOf(textOf(row[5]))});
        }
    }
    return infos;
}

}  // namespace quillet::odbc
