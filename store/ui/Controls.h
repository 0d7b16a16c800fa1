#pragma once
/// \file
/// \brief The controls a calling window hands to the record-store class: objects reached by
/// property name, combo-box lists, and data grids. app/ adapts Qt widgets to these.

#include <memory>
#include <string>

#include "quillet_store_export.h"
#include "runtime/Dispatch.h"
#include "runtime/Variant.h"

namespace quillet {

class Recordset;

/// A control reached through late binding ("Text", "Value").
using Object = std::shared_ptr<Dispatch>;

/// Error 91, for a control that was never handed over.
QUILLET_STORE_EXPORT RuntimeError objectNotSet();

/// Sets the control's "Text" property (error 91 without a control, 438 without the property).
QUILLET_STORE_EXPORT void setText(const Object& control, const Variant& value);
/// Sets the control's "Value" property, as date pickers take dates.
QUILLET_STORE_EXPORT void setValue(const Object& control, const Variant& value);
/// Reads the control's "Text" property.
QUILLET_STORE_EXPORT Variant getText(const Object& control);

/// \brief A combo box's list, as the list-filling operations use it.
class QUILLET_STORE_EXPORT ListControl {
public:
    virtual ~ListControl() = default;
    virtual void Clear() = 0;
    /// Appends an item at the end.
    virtual void AddItem(const std::string& item) = 0;
    virtual int ListCount() const = 0;
    virtual int ListIndex() const = 0;
    /// Selects an item; error 380 "Invalid property value" when there is no such item.
    virtual void setListIndex(int index) = 0;
};

/// \brief A data grid that shows a recordset: its columns and headings come from the result.
class QUILLET_STORE_EXPORT GridControl {
public:
    virtual ~GridControl() = default;
    /// Binds the grid to a recordset; nullptr unbinds it. The grid keeps the recordset (and with
    /// it its rows) until it is bound to something else.
    virtual void setDataSource(std::shared_ptr<Recordset> recordset) = 0;
    virtual int columnCount() const = 0;
    /// Column widths in twips; error 9 "Subscript out of range" for a column the grid lacks.
    virtual void setColumnWidth(int column, int twips) = 0;
    /// A display pattern for the column's values (for example "dd/MMM/yyyy" for dates).
    virtual void setColumnNumberFormat(int column, const std::string& format) = 0;
};

}  // namespace quillet
