#pragma once
/// \file
/// \brief Qt widgets as the controls of the record-store class: include this one header beside
/// <quillet/Quillet.h> to hand a window's QLineEdit, QComboBox, QDateEdit and QTableView to a
/// VekClass, and to show the class's messages as QMessageBox.

#include "adapters/QtControls.h"
#include "adapters/QtMessageBoxes.h"
#include "adapters/TableViewGrid.h"
