#pragma once
// The loan calculator's one window: the inputs, the Calculate and Developer buttons, the
// instalment box and the schedule grid.

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QWidget>

#include "adapters/TableViewGrid.h"
#include "engine/Recordset.h"
#include "gui/DatePicker.h"
#include "gui/EditableComboBox.h"
#include "gui/KeyFilter.h"
#include "gui/ReportControl.h"
#include "gui/ReportMenu.h"

namespace quillet {

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The controls, by the names the handlers use.
    QLabel* Label7() { return &m_Label7; }
    QPushButton* cmd() { return &m_cmd; }
    QLabel* Label2() { return &m_Label2; }
    QDateEdit* DTP() { return &m_DTP; }
    QLabel* Label3() { return &m_Label3; }
    QLineEdit* txtrate() { return &m_txtrate; }
    QLabel* Label5() { return &m_Label5; }
    QLineEdit* txtAmount() { return &m_txtAmount; }
    QLabel* Label4() { return &m_Label4; }
    QComboBox* cmb() { return &m_cmb; }
    QLabel* Label1() { return &m_Label1; }
    QLineEdit* txtDuration() { return &m_txtDuration; }
    QLabel* Label6() { return &m_Label6; }
    QLineEdit* emi() { return &m_emi; }
    QPushButton* btnShowPayment() { return &m_btnShowPayment; }
    QTableView* DG() { return &m_DG; }
    /// The visible way to the report and the copy: a menu button in the free corner beside
    /// Calculate. Outside the tab order; the keyboard has the entries' shortcuts.
    QToolButton* reportButton() { return &m_reportButton; }

    /// The schedule run behind Calculate: stores the schedule, refreshes the grid, fills emi.
    void showinDG();
    /// Loads the stored schedule into DG: the rows the last schedule run read inside its own
    /// write transaction when it read them, else the table as it is now.
    void ShowinnDG();

    /// The number of decimals of the last calculation, kept between calculations.
    double RoundTo = 0;

    /// The invisible report control: the schedule run prepares it for the stored schedule; the
    /// grid's context menu and Ctrl+P print or export it.
    ReportControl CR;

public slots:
    /// Calculate: reports each input box that does not hold a number, then runs the schedule.
    void btnShowPayment_Click();
    /// Developer: opens the developer's web page in the system's browser.
    void cmd_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    /// Enter or Return in an input box runs Calculate, as a dialog's default button would.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeControls();
    void styleControls();
    void orderTabs();
    void nameForAssistiveTechnology();
    void Form_Load();
    void placeWindow();
    void layOutForSize();
    void installReportButton(QAction* copy);
    void showAmounts();
    bool isInputBox(const QWidget* widget) const;

    QLabel m_Label7{this};
    QPushButton m_cmd{this};
    QLabel m_Label2{this};
    DatePicker m_DTP{this};
    QLabel m_Label3{this};
    QLineEdit m_txtrate{this};
    QLabel m_Label5{this};
    QLineEdit m_txtAmount{this};
    QLabel m_Label4{this};
    EditableComboBox m_cmb{this};
    QLabel m_Label1{this};
    QLineEdit m_txtDuration{this};
    QLabel m_Label6{this};
    QLineEdit m_emi{this};
    QPushButton m_btnShowPayment{this};
    QTableView m_DG{this};
    QToolButton m_reportButton{this};
    KeyFilter m_keyFilter{this};
    TableViewGrid m_grid{&m_DG};  // DG as the grid the stored schedule is bound to
    ReportActions m_reportActions;
    bool m_placedWithFrame = false;
    QSize m_designedSize;  // the inside of the window at its start-up size
    /// The rows the schedule run in progress read back before it committed, for ShowinnDG.
    std::shared_ptr<Recordset> m_scheduleRead;
};

}  // namespace quillet
