#include "records/ShownColumns.h"
#include "OperationFrame.h"

#include <string>

namespace quillet {

void showColumns(OperationFrame& frame, const Recordset& rs,
                 std::initializer_list<ShownColumn> columns) {
    for (const ShownColumn& shown : columns) {
        frame.step([&] {
            const Variant& value = rs.Fields(std::string(shown.column));
            if (shown.property == Property::Value) {
                setValue(shown.control, value);
            } else {
                setText(shown.control, value);
            }
        });
    }
}

}  // namespace quillet
