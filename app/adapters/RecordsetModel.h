#pragma once
// A read-only table model over a client-side recordset: one column per field, headed by the
// field's name, one row per record, values in the same texts the store gives them.

#include <QAbstractTableModel>
#include <map>
#include <memory>
#include <string>

#include "engine/Recordset.h"
#include "quillet_qt_export.h"

namespace quillet {

class QUILLET_QT_EXPORT RecordsetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit RecordsetModel(std::shared_ptr<Recordset> recordset, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// A display pattern for a column; "dd/MMM/yyyy" shows dates as 01/Jan/2024.
    void setColumnFormat(int column, const std::string& format);

    /// The text a cell shows (also what a report prints for it).
    QString cellText(int row, int column) const;

    const std::shared_ptr<Recordset>& recordset() const { return m_recordset; }

private:
    std::shared_ptr<Recordset> m_recordset;
    std::map<int, std::string> m_formats;
};

}  // namespace quillet
