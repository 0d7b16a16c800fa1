#include "adapters/RecordsetModel.h"

#include <algorithm>

#include "report/ReportNumbers.h"
#include "runtime/Date.h"
#include "runtime/Variant.h"

namespace quillet {

namespace {

// More decimals than a double holds would show only noise.
constexpr int kMostAmountDecimals = 15;

}  // namespace

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
    if (const auto amount = m_amountDecimals.find(column);
        amount != m_amountDecimals.end() && value.isNumber()) {
        return QString::fromStdString(formatFixed(value.toDouble(), amount->second, true));
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

void RecordsetModel::setAmountColumn(int column, int decimals) {
    m_amountDecimals[column] = std::clamp(decimals, 0, kMostAmountDecimals);
    if (rowCount() > 0) {
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
    }
}

QString RecordsetModel::tabSeparatedRows(const std::vector<int>& rows) const {
    QStringList lines;
    const int columns = columnCount();
    QStringList cells;
    for (int c = 0; c < columns; ++c) {
        cells << QString::fromStdString(m_recordset->FieldName(c));
    }
    lines << cells.join(QLatin1Char('\t'));
    for (const int row : rows) {
        cells.clear();
        for (int c = 0; c < columns; ++c) {
            const Variant& value = m_recordset->valueAt(row, c);
            std::string text;
            if (value.type() == Variant::Type::Date) {
                text = formatIsoDate(value.toDate());
            } else if (!value.isNull() && !value.isEmpty()) {
                text = value.toString();
            }
            // A tab or a line break inside a value would split the row: it becomes a blank.
            std::replace_if(
                text.begin(), text.end(),
                [](char ch) { return ch == '\t' || ch == '\n' || ch == '\r'; }, ' ');
            cells << QString::fromStdString(text);
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace quillet
