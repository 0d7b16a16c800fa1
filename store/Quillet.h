#pragma once
/// \file
/// \brief The one header a program includes to use the record-store class: VekClass with its
/// connection and recordsets, the Variant and its run-time error, the control interfaces a
/// window hands the class, and the message-box service the class reports through.
///
///     #include <quillet/Quillet.h>
///
///     quillet::VekClass store;                   // data source "det", as connectx opens it
///     if (store.Executex("insert into ...")) {}  // true when the statement ran

#include "VekClass.h"
#include "ui/MessageBox.h"
