#include "adapters/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace quillet {

BusyCursor::BusyCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

BusyCursorPause::BusyCursorPause() {
    // Only wait cursors are lifted: another override (a drag, say) is not this program's work.
    while (QGuiApplication::overrideCursor() != nullptr &&
           QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor) {
        QGuiApplication::restoreOverrideCursor();
        ++m_lifted;
    }
}

BusyCursorPause::~BusyCursorPause() {
    for (int i = 0; i < m_lifted; ++i) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

}  // namespace quillet
