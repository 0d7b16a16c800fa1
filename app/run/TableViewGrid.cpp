#include "run/TableViewGrid.h"

#include <QItemSelectionModel>

#include "gui/Twips.h"
#include "runtime/RuntimeError.h"

namespace quillet {

TableViewGrid::TableViewGrid(QTableView* view) : m_view(view) {}

TableViewGrid::~TableViewGrid() {
    if (m_view && m_view->model() == m_model.get()) {
        m_view->setModel(nullptr);
    }
}

void TableViewGrid::setDataSource(std::shared_ptr<Recordset> recordset) {
    // The new model replaces the old one before the old one goes, so the view never points at a
    // deleted model.
    std::unique_ptr<RecordsetModel> next;
    if (recordset) {
        next = std::make_unique<RecordsetModel>(std::move(recordset));
    }
    if (m_view) {
        // The view makes a selection model for every model it is given and never deletes the
        // previous one: released here, or a long day of Calculates keeps thousands alive.
        QItemSelectionModel* const previous = m_view->selectionModel();
        m_view->setModel(next.get());
        if (previous != nullptr && previous != m_view->selectionModel()) {
            const std::unique_ptr<QItemSelectionModel> released(previous);
        }
        // A new schedule is read from its first row, wherever the last one was scrolled to.
        m_view->scrollToTop();
    }
    m_model = std::move(next);
}

int TableViewGrid::columnCount() const {
    return m_model ? m_model->columnCount() : 0;
}

void TableViewGrid::requireColumn(int column) const {
    if (column < 0 || column >= columnCount()) {
        throw RuntimeError(9, "Subscript out of range");
    }
}

void TableViewGrid::setColumnWidth(int column, int twips) {
    requireColumn(column);
    if (m_view) {
        m_view->setColumnWidth(column, twipsToPixels(twips, m_view->logicalDpiX()));
    }
}

void TableViewGrid::setColumnNumberFormat(int column, const std::string& format) {
    requireColumn(column);
    m_model->setColumnFormat(column, format);
}

}  // namespace quillet
