#pragma once
/// \file
/// \brief Copying the columns of a looked-up row into a calling window's controls, one control at
/// a time, each under the lookup's trap.

#include <initializer_list>

#include "OperationFrame.h"
#include "engine/Recordset.h"
#include "ui/Controls.h"

namespace quillet {

/// \brief Which property of a control takes the column's value.
enum class Property {
    Text,   ///< text boxes and anything else with a Text
    Value,  ///< date pickers, which take a date
};

/// \brief One control and the column of the current row it shows.
struct ShownColumn {
    const Object& control;
    Property property;
    const char* column;
};

/// \brief Sets each control, in order, from the named column of the recordset's current row.
/// Each assignment is one step of the frame: under continue-on-error one that fails (no row, a
/// Null the control refuses, a control without the property) leaves that control as it was.
void showColumns(OperationFrame& frame, const Recordset& rs,
                 std::initializer_list<ShownColumn> columns);

}  // namespace quillet
