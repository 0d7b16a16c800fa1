// The mail register and the medical claims registers: saving a record under its serials and
// reading one back by serial. The caller names the register's table.
#include <string>

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"
#include "WriteTransaction.h"
#include "records/RecordSteps.h"
#include "records/ShownColumns.h"
#include "records/StatementDates.h"
#include "runtime/Numbers.h"

namespace quillet {

namespace {

// The lookup of one record of the register by its serial.
std::string recordBySerial(const std::string& TableName, std::int16_t sn) {
    return "Select * from " + identifier(TableName) + " where SN  = " + std::to_string(sn);
}

}  // namespace

Variant VekClass::FindMailDetails(const std::string& TableName, std::int16_t sn) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { closeIfOpen(*Rs); });
    frame.step([&] { runStr(recordBySerial(TableName, sn)); });
    // Without a row every copy fails and each member keeps its value; Other is text, so a Null
    // there leaves it as it was.
    frame.step([&] { FileNo = Rs->Fields("FileNo"); });
    frame.step([&] { Date_ = Rs->Fields("Date_"); });
    frame.step([&] { Place = Rs->Fields("Place"); });
    frame.step([&] { Subject = Rs->Fields("Subject_"); });
    frame.step([&] { remark = Rs->Fields("Remark"); });
    frame.step([&] { In_Out = Rs->Fields("In_Out"); });
    frame.step([&] { Other = Rs->Fields("Other").toString(); });
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::FindNedicalDetails(const std::string& TableName, std::int16_t sn,
                                     const Object& FileNoC, const Object& DATE_ForwardC,
                                     const Object& SNC, const Object& Name_C,
                                     const Object& StaffNoC, const Object& Amount_ClaimedC,
                                     const Object& Date_ReturnC, const Object& Amount_PassedC,
                                     const Object& RemarkC) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { closeIfOpen(*Rs); });
    frame.step([&] { runStr(recordBySerial(TableName, sn)); });
    showColumns(frame, *Rs,
                {{FileNoC, Property::Text, "FileNo"},
                 {DATE_ForwardC, Property::Value, "DATE_Forward"},
                 {SNC, Property::Text, "SN"},
                 {Name_C, Property::Text, "Name_"},
                 {StaffNoC, Property::Text, "StaffNo"},
                 {Amount_ClaimedC, Property::Text, "Amount_Claimed"},
                 {Date_ReturnC, Property::Value, "Date_Return"},
                 {Amount_PassedC, Property::Text, "Amount_Passed"},
                 {RemarkC, Property::Text, "Remark"}});
    frame.step([&] { closeCon(); });
    return {};
}

bool VekClass::SaveMailRecord(const std::string& fileNo, const std::string& mailDate,
                              const std::string& place, const std::string& subject,
                              const std::string& remarkText, const std::string& inOut,
                              const std::string& other, const std::string& TableName) {
    bool result = false;
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { connectx(); });
    SN_ = std::int32_t{1};
    frame.step([&] {
        insertUnderNextSerial(TableName, [&] {
            return quoted(fileNo) + "," + dateLiteral(mailDate) + "," + quoted(place) + "," +
                   quoted(subject) + "," + quoted(remarkText) + "," + quoted(inOut) + "," +
                   quoted(other);
        });
    });
    frame.step([&] { inform("Saved", "Info"); });
    frame.step([&] {
        result = true;
        closeCon();
    });
    return result && !frame.failed();
}

bool VekClass::SaveMedicalRecord(const std::string& FileNoC, const std::string& DATE_ForwardC,
                                 const std::string& SNC, const std::string& Name_C,
                                 const std::string& StaffNoC, const std::string& Amount_ClaimedC,
                                 const std::string& Date_ReturnC, double Amount_PassedC,
                                 const std::string& RemarkC, const std::string& TableName) {
    (void)SNC;  // both serials are counted, never taken from the caller
    bool result = false;
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { connectx(); });
    SN_ = std::int32_t{1};
    frame.step([&] {
        // Both serial queries and the insert are one unit, so two claims saved at the same
        // moment never share a serial.
        WriteTransaction transaction(*Con);
        const std::string& table = identifier(TableName);
        // The system serial counts within one forwarding date.
        runStr("select max(SystemSN) from " + table +
               " where DATE_Forward = " + dateLiteral(DATE_ForwardC));
        SN_ = serialAfter(Rs->Fields(0));
        // The serial within the file number, whatever the forwarding date.
        DateSN = 1;
        runStr("select max(SN) from " + table + " where FileNo = " + quoted(FileNoC));
        DateSN = serialAfter(Rs->Fields(0)).toInteger();
        runStr("insert into " + table + " values(" + SN_.toString() + "," + quoted(FileNoC) + "," +
               dateLiteral(DATE_ForwardC) + "," + std::to_string(DateSN) + "," + quoted(Name_C) +
               "," + quoted(StaffNoC) + "," + bareNumber(Amount_ClaimedC) + "," +
               quoted(Date_ReturnC) + "," + bareNumber(formatGeneral(Amount_PassedC)) + "," +
               quoted(RemarkC) + ")");
        transaction.commit();
        result = true;
    });
    frame.step([&] { closeCon(); });
    return result && !frame.failed();
}

}  // namespace quillet
