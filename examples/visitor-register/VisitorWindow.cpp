#include "VisitorWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The register's table and the columns the grid lists.
const std::string kTable = "Visitor";
const std::string kListQuery =
    "select SN, Name_, StaffNo, PurposeOfVisit, ValidFrom, ValidTo from Visitor order by SN";

// The store reads dates day first.
std::string dayFirst(const QDateEdit& edit) {
    return edit.date().toString("dd/MM/yyyy").toStdString();
}

std::string text(const QLineEdit& edit) {
    return edit.text().toStdString();
}

}  // namespace

VisitorWindow::VisitorWindow() {
    setWindowTitle("Visitor register");
    for (QDateEdit* date :
         {&m_visitDate, &m_validFrom, &m_validTo, &m_workOrderDate, &m_workOrderValidity}) {
        date->setDisplayFormat("dd/MM/yyyy");
        date->setCalendarPopup(true);
        date->setDate(QDate::currentDate());
    }

    auto* form = new QFormLayout;
    form->addRow("Serial", &m_serial);
    form->addRow("Category", &m_category);
    form->addRow("Sub category", &m_subCategory);
    form->addRow("Name", &m_name);
    form->addRow("Staff no.", &m_staffNo);
    form->addRow("Designation", &m_designation);
    form->addRow("Unit", &m_unit);
    form->addRow("Purpose of visit", &m_purpose);
    form->addRow("Address", &m_address);
    form->addRow("Date of visit", &m_visitDate);
    form->addRow("Valid from", &m_validFrom);
    form->addRow("Valid to", &m_validTo);
    form->addRow("Contact", &m_contact);
    form->addRow("Mobile no.", &m_mobile);
    form->addRow("Remark", &m_remark);
    form->addRow("Work area", &m_workArea);
    form->addRow("System", &m_system);
    form->addRow("Work order no.", &m_workOrderNo);
    form->addRow("Work order date", &m_workOrderDate);
    form->addRow("Work order valid to", &m_workOrderValidity);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* caption, auto action) {
        auto* b = new QPushButton(caption);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    };
    button("&Save visit", [this] { saveVisit(); });
    button("&Find by serial", [this] { findVisit(m_serial.text().toInt()); });
    button("&Update validity", [this] { updateValidity(); });
    button("&List visitors", [this] { listVisitors(); });

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(&m_grid, 1);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addWidget(&m_status);

    // The grid that ShowInGridAsPerQuery binds its results to.
    m_store.setQueryGrid(std::make_shared<quillet::TableViewGrid>(&m_grid));
}

bool VisitorWindow::saveVisit() {
    const bool saved = m_store.SaveVisitor(
        text(m_category), text(m_subCategory), text(m_name), text(m_staffNo), text(m_designation),
        text(m_unit), text(m_purpose), text(m_address), dayFirst(m_visitDate),
        dayFirst(m_validFrom), dayFirst(m_validTo), text(m_contact), text(m_mobile), text(m_remark),
        text(m_workArea), text(m_system), text(m_workOrderNo), dayFirst(m_workOrderDate),
        dayFirst(m_workOrderValidity), kTable);
    if (!saved) {
        say("The visit was not saved: the store refused it.");
        return false;
    }
    // SaveVisitor leaves the serial it gave the visit in SN_.
    m_serial.setText(QString::fromStdString(m_store.SN_.toString()));
    say("Saved as visit " + m_serial.text() + ".");
    listVisitors();
    return true;
}

bool VisitorWindow::findVisit(int serial) {
    using quillet::bindControl;
    // The controls show what the stored visit holds; a serial without a visit leaves them alone,
    // so the form is cleared first to tell the two apart.
    m_name.clear();
    m_store.FindVisitDetails(
        static_cast<std::int16_t>(serial), bindControl(&m_category), bindControl(&m_subCategory),
        bindControl(&m_name), bindControl(&m_staffNo), bindControl(&m_designation),
        bindControl(&m_unit), bindControl(&m_purpose), bindControl(&m_address),
        bindControl(&m_visitDate), bindControl(&m_validFrom), bindControl(&m_validTo),
        bindControl(&m_contact), bindControl(&m_mobile), bindControl(&m_remark),
        bindControl(&m_workArea), bindControl(&m_system), bindControl(&m_workOrderNo),
        bindControl(&m_workOrderDate), bindControl(&m_workOrderValidity));
    if (m_name.text().isEmpty()) {
        say(QString("There is no visit %1.").arg(serial));
        return false;
    }
    m_serial.setText(QString::number(serial));
    say(QString("Visit %1 shown.").arg(serial));
    return true;
}

bool VisitorWindow::updateValidity() {
    const bool updated = m_store.UpdateVisit(
        static_cast<std::int16_t>(m_serial.text().toInt()), text(m_system), text(m_workArea),
        text(m_category), text(m_subCategory), text(m_name), text(m_staffNo), text(m_designation),
        text(m_unit), text(m_purpose), text(m_address), dayFirst(m_visitDate),
        dayFirst(m_validFrom), dayFirst(m_validTo), text(m_contact), text(m_mobile), text(m_remark),
        kTable);
    say(updated ? "Visit " + m_serial.text() + " updated." : "The visit was not updated.");
    if (updated) {
        listVisitors();
    }
    return updated;
}

void VisitorWindow::listVisitors() {
    try {
        m_store.ShowInGridAsPerQuery(kListQuery);
    } catch (const quillet::RuntimeError& e) {
        // Untrapped: the failure reaches the caller with its number and description.
        say(QString("The list failed (%1): %2")
                .arg(e.number())
                .arg(QString::fromStdString(e.description())));
    }
}

int VisitorWindow::listedRows() const {
    return m_grid.model() != nullptr ? m_grid.model()->rowCount() : 0;
}

void VisitorWindow::fillSample() {
    m_category.setText("Contractor");
    m_subCategory.setText("Electrical");
    m_name.setText("Asha Verma");
    m_staffNo.setText("EX-104");
    m_designation.setText("Technician");
    m_unit.setText("Works");
    m_purpose.setText("Panel inspection");
    m_address.setText("12 Canal Road");
    m_contact.setText("Site office");
    m_mobile.setText("5550104");
    m_remark.setText("Escort needed");
    m_workArea.setText("Hall 3");
    m_system.setText("HT panel");
    m_workOrderNo.setText("WO-88");
    m_visitDate.setDate(QDate(2026, 12, 1));
    m_workOrderDate.setDate(QDate(2026, 11, 20));
    m_workOrderValidity.setDate(QDate(2027, 3, 31));
    setValidity(QDate(2026, 12, 1), QDate(2026, 12, 15));
}

void VisitorWindow::setValidity(const QDate& from, const QDate& to) {
    m_validFrom.setDate(from);
    m_validTo.setDate(to);
}
