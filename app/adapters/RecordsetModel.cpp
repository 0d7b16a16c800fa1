#include "adapters/RecordsetModel.h"

#include "runtime/Date.h"
#include "runtime/Variant.h"

namespace quillet {

RecordsetModel::RecordsetModel(std::shared_ptr<Recordset> recordset, QObject* parent)
    : QAbstractTableModel(parent), m_recordset(std::move(recordset)) {}

int RecordsetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_recordset ? 0 : static_cast<int>(m_recordset->RecordCount());
}

int RecordsetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_recordset ? 0 : m_recordset->FieldCount();
}

QString RecordsetModel::cellText(int row, int column) const {
    const Variant& value = m_recordset->valueAt(row, column);
    if (value.isNull() || value.isEmpty()) {
        return {};
    }
    if (value.type() == Variant::Type::Date) {
        const auto format = m_formats.find(column);
        const Date date = value.toDate();
        if (format != m_formats.end() && format->second == "dd/MMM/yyyy") {
            return QString::fromStdString(formatDayMonthYear(date));
        }
        return QString::fromStdString(formatShortDate(date));
    }
    return QString::fromStdString(value.toString());
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_recordset) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return cellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        const Variant& value = m_recordset->valueAt(index.row(), index.column());
        const bool number = value.isNumber();
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || !m_recordset) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return QString::fromStdString(m_recordset->FieldName(section));
    }
    return section + 1;
}

void RecordsetModel::setColumnFormat(int column, const std::string& format) {
    m_formats[column] = format;
    if (rowCount() > 0) {
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
    }
}

}  // namespace quillet
