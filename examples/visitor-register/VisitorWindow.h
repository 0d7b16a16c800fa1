#pragma once
// A visitor register: one form for a visit, a grid of every visitor, and the four things an
// office desk does with them (save a visit, find it by serial, list, change its validity).

#include <quillet/Quillet.h>
#include <quillet/QuilletQt.h>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QWidget>

class VisitorWindow : public QWidget {
public:
    VisitorWindow();

    /// Inserts the visit on the form under the next serial; false when the store refused it.
    bool saveVisit();
    /// Shows the visit of the serial in the form; false when there is no such visit.
    bool findVisit(int serial);
    /// Rewrites the validity dates (and the rest of the form) of the visit shown.
    bool updateValidity();
    /// Lists every visitor in the grid.
    void listVisitors();

    /// Fills the form as a desk clerk would, for the scripted run (--demo).
    void fillSample();
    void setValidity(const QDate& from, const QDate& to);
    int shownSerial() const { return m_serial.text().toInt(); }
    QString shownName() const { return m_name.text(); }
    QDate shownValidTo() const { return m_validTo.date(); }
    int listedRows() const;

private:
    void say(const QString& text) { m_status.setText(text); }

    quillet::VekClass m_store;
    QLineEdit m_serial, m_category, m_subCategory, m_name, m_staffNo, m_designation, m_unit,
        m_purpose, m_address, m_contact, m_mobile, m_remark, m_workArea, m_system, m_workOrderNo;
    QDateEdit m_visitDate, m_validFrom, m_validTo, m_workOrderDate, m_workOrderValidity;
    QTableView m_grid;
    QLabel m_status;
};
