// Emptying the record store: every row of a fixed list of tables, keeping the tables.
#include "OperationFrame.h"
#include "VekClass.h"

namespace quillet {

Variant VekClass::deleteAll() {
    // The schedule table EMI is not on the list: a purge keeps the last calculation.
    static const char* const statements[] = {
        "Delete * from Appointment",
        "Delete * from Cable",
        "Delete * from CableDetail",
        "Delete * from CABLES",
        "Delete * from CableStatus",
        "Delete * from CategoryTable",
        "Delete * from DOCUMENT",
        "Delete * from EmpDetail",
        "Delete * from Employeelist",
        "Delete * from ITEMDETAIL",
        "Delete * from Leavex",
        "Delete * from PARTNUMBER",
        "Delete * from PROJECT_CODES",
        "Delete * from pur",
        "Delete * from RemAdvance",
        "Delete * from SHIP_CODES",
        "Delete * from StatusItem",
        "Delete * from System_",
        "Delete * from WDR",
        "Delete * from wherex",
        "Delete * from WireDetail",
        "Delete * from WireNumber",
        "Delete * from WorkAhead",
        "Delete * from WorkDetail",
        "Delete * from MailRecord",
        "Delete * from MedicalRecord",
        "Delete * from MedicalRecordHindi",
        "Delete * from MedicalRecordHindiName",
        "Delete * from Visitor",
        "Delete * from SalaryTable",
        "Delete * from PersonEmployed",
        "Delete * from Gangaway",
        "Delete * from DOCUMENTFile",
        "Delete * from Customercodes",
        "Delete * from CopyOfWDR",
    };
    OperationFrame frame(Trap::Untrapped);
    frame.step([&] { connectx(); });
    // No transaction around the list: each table is emptied on its own, and a failure leaves
    // the earlier tables empty and the later ones untouched.
    for (const char* statement : statements) {
        frame.step([&] { runStr(statement); });
    }
    frame.step([&] { inform("Deleted", "Info"); });
    frame.step([&] { closeCon(); });
    return {};
}

}  // namespace quillet
