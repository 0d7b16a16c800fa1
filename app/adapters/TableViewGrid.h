#pragma once
// A QTableView seen as the data grid the record-store class binds results to.

#include <QPointer>
#include <QTableView>
#include <memory>

#include "adapters/RecordsetModel.h"
#include "quillet_qt_export.h"
#include "ui/Controls.h"

namespace quillet {

class QUILLET_QT_EXPORT TableViewGrid : public GridControl {
public:
    explicit TableViewGrid(QTableView* view);
    ~TableViewGrid() override;

    void setDataSource(std::shared_ptr<Recordset> recordset) override;
    int columnCount() const override;
    void setColumnWidth(int column, int twips) override;
    void setColumnNumberFormat(int column, const std::string& format) override;

    RecordsetModel* model() const { return m_model.get(); }

private:
    void requireColumn(int column) const;

    QPointer<QTableView> m_view;
    std::unique_ptr<RecordsetModel> m_model;
};

}  // namespace quillet
