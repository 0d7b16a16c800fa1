#include "adapters/TableViewGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>
#include <array>

#include "adapters/Twips.h"
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
        // The view and each of its headers make a selection model for every model they are
        // given and never delete the previous ones: released here, or a long day of Calculates
        // keeps thousands alive.
        const QList<QItemSelectionModel*> previous = m_view->findChildren<QItemSelectionModel*>();
        m_view->setModel(next.get());
        const std::array<const QAbstractItemView*, 3> views = {
            m_view.data(), m_view->horizontalHeader(), m_view->verticalHeader()};
        for (QItemSelectionModel* stale : previous) {
            const bool inUse = std::any_of(views.begin(), views.end(), [&](const auto* view) {
                return view->selectionModel() == stale;
            });
            if (!inUse) {
                const std::unique_ptr<QItemSelectionModel> released(stale);
            }
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
