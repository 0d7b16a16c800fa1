#include "VekClass.h"

#include "OperationFrame.h"
#include "SerialNumbers.h"
#include "StatementPieces.h"
#include "WriteTransaction.h"
#include "runtime/Numbers.h"
#include "ui/MessageBox.h"

namespace quillet {

std::string defaultConnectionString() {
    return std::string("DSN=") + "det" + ";userID= " + "Admin" + ";Password= " + "09octvel";
}

Variant VekClass::assign() {
    DSNNAME = "det";
    userID = "Admin";
    Password = "09octvel";
    return {};
}

bool VekClass::connectx() {
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { a = assign(); });
    frame.step([&] {
        if (Con->State() == kStateOpen) {
            Con->Close();
        }
    });
    frame.step([&] {
        Con->setConnectionString("DSN=" + DSNNAME.toString() + ";userID= " + userID.toString() +
                                 ";Password= " + Password.toString());
        Con->Open("", "", "", -1);
    });
    if (frame.failed()) {
        // NOTE: there is no database-selection window to offer here. connectx returns normally
        // with Con closed; the caller's next statement then fails on the closed connection and
        // the caller's own trap decides what follows.
        MsgBox("Please select Database : remember.mdb and restart Application", vbInformation,
               "Select database");
    }
    return false;
}

void VekClass::runOn(Recordset& recordset, const std::string& sql) {
    if (recordset.State() == kStateOpen) {
        recordset.Close();
    }
    recordset.Open(sql, Con.shared(), kOpenKeyset, kLockReadOnly, kCmdUnspecified);
}

void VekClass::runStr(const std::string& sql) {
    str = sql;
    runOn(*Rs, sql);
}

void VekClass::closeCon() {
    if (Con->State() == kStateOpen) {
        Con->Close();
    }
}

void VekClass::inform(const std::string& prompt, const std::string& title) {
    a = MsgBox(prompt, vbInformation, title);
}

Variant VekClass::nextSerial(const std::string& TableName) {
    runStr("select max(SN) from " + identifier(TableName));
    SN_ = serialAfter(Rs->Fields(0));
    return SN_;
}

bool VekClass::IsLeapYear(long year) {
    return isLeapYear(year);
}

WriteTransaction::WriteTransaction(Connection& connection) : m_connection(connection) {
    m_connection.BeginTrans();
}

WriteTransaction::~WriteTransaction() {
    if (m_open) {
        m_connection.tryRollback();
    }
}

void WriteTransaction::commit() {
    m_connection.CommitTrans();
    m_open = false;
}

}  // namespace quillet
