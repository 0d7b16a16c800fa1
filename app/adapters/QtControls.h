#pragma once
// Qt widgets handed to the record-store class: text boxes, labels, combo boxes and date pickers
// reached by property name ("Text", "Value"), and combo boxes as lists.

#include <QComboBox>
#include <QWidget>
#include <memory>

#include "quillet_qt_export.h"
#include "ui/Controls.h"

namespace quillet {

/// \brief Wraps a widget for late binding. QLineEdit, QLabel, QPlainTextEdit and QComboBox have
/// "Text"; QDateEdit has "Value" (its date) and "Text". Anything else raises error 438.
/// A widget deleted meanwhile raises error 91.
QUILLET_QT_EXPORT Object bindControl(QWidget* widget);

/// Wraps a combo box as the list the list-filling operations fill.
QUILLET_QT_EXPORT std::shared_ptr<ListControl> bindList(QComboBox* comboBox);

}  // namespace quillet
