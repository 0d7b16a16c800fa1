#pragma once
// A read-only table model over a client-side recordset: one column per field, headed by the
// field's name, one row per record, values in the same texts the store gives them unless a
// column is given a display form.

#include <QAbstractTableModel>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

    /// \brief Shows the numbers of a column as amounts: exactly decimals decimals (0 to 15) and
    /// the digits grouped in thousands, as the printed report writes them (1,000,000.00).
    void setAmountColumn(int column, int decimals);

    /// The text a cell shows.
    QString cellText(int row, int column) const;

    /// \brief The given rows (in ascending order, each once) as tab-separated lines under a line
    /// of the headings, for a spreadsheet: numbers in their plain stored form (no grouping, '.'
    /// as separator) and dates as YYYY-MM-DD, which spreadsheets read as numbers and dates.
    QString tabSeparatedRows(const std::vector<int>& rows) const;

    const std::shared_ptr<Recordset>& recordset() const { return m_recordset; }

private:
    std::shared_ptr<Recordset> m_recordset;
    std::map<int, std::string> m_formats;
    std::map<int, int> m_amountDecimals;
};

}  // namespace quillet
