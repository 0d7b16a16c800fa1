#pragma once
// The wait cursor while the window works (a Calculate, an export, building a preview), so a long
// schedule does not look like a frozen window.

#include "quillet_qt_export.h"

namespace quillet {

/// Shows the wait cursor over the whole application for as long as it lives.
class QUILLET_QT_EXPORT BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

/// \brief Lifts every wait cursor for as long as it lives, and puts them back after: a message
/// box that appears in the middle of the work waits for the user, not the other way round.
class QUILLET_QT_EXPORT BusyCursorPause {
public:
    BusyCursorPause();
    ~BusyCursorPause();
    BusyCursorPause(const BusyCursorPause&) = delete;
    BusyCursorPause& operator=(const BusyCursorPause&) = delete;

private:
    int m_lifted = 0;
};

}  // namespace quillet
