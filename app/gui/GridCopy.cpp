#include "gui/GridCopy.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>
#include <vector>

#include "adapters/RecordsetModel.h"

namespace quillet {

QString selectedRowsText(const QTableView& grid) {
    const auto* model = qobject_cast<const RecordsetModel*>(grid.model());
    if (model == nullptr || grid.selectionModel() == nullptr) {
        return {};
    }
    std::vector<int> rows;
    for (const QModelIndex& index : grid.selectionModel()->selectedIndexes()) {
        rows.push_back(index.row());
    }
    if (rows.empty() && grid.currentIndex().isValid()) {
        rows.push_back(grid.currentIndex().row());
    }
    if (rows.empty()) {
        return {};
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return model->tabSeparatedRows(rows);
}

QAction* installRowCopy(QTableView& grid) {
    // The grid owns its actions, as it owns the report's.
    auto* copy = new QAction(QString::fromLatin1(kCopyRowsText), &grid);
    copy->setShortcut(QKeySequence::Copy);
    // Ctrl+C copies rows only from the grid; in an input box it copies that box's text.
    copy->setShortcutContext(Qt::WidgetShortcut);
    copy->setShortcutVisibleInContextMenu(true);
    QObject::connect(copy, &QAction::triggered, &grid, [&grid] {
        const QString text = selectedRowsText(grid);
        if (!text.isEmpty()) {
            QGuiApplication::clipboard()->setText(text);
        }
    });
    auto* separator = new QAction(&grid);
    separator->setSeparator(true);
    const QList<QAction*> existing = grid.actions();
    grid.insertActions(existing.isEmpty() ? nullptr : existing.front(), {copy, separator});
    return copy;
}

}  // namespace quillet
