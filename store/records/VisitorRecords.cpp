// The visitor register: saving a visit under the next serial, rewriting one, and showing a
// stored visit in a calling window's controls, looked up by serial or by staff number.
#include <string>

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"
#include "records/RecordSteps.h"
#include "records/ShownColumns.h"
#include "records/StatementDates.h"

namespace quillet {

namespace {

constexpr const char* kVisitBySerial =
    "Select Catagoryx , SubCategory_, Name_, StaffNo, Designation, Unit, PurposeOfVisit, "
    "Address_, DateOfVisit, ValidFrom, ValidTo, ContactDetail, MobileNo, REMARK , Work_Area, "
    "System, WorkOrderNo, WorkOrderDate, WorkOrderValidity from Visitor where sn = ";

constexpr const char* kVisitByStaffNo =
    "Select Catagoryx , SubCategory_, Name_, StaffNo, Designation, Unit, PurposeOfVisit, "
    "Address_, DateOfVisit, ValidFrom, ValidTo, ContactDetail, MobileNo, REMARK from Visitor "
    "where StaffNo = ";

// The fourteen controls every visit view has. The validity dates go to the given property, the
// date of the visit always to a Text.
void showVisitHead(OperationFrame& frame, const Recordset& rs, Property validity,
                   const Object& Catagoryx, const Object& SubCategory_, const Object& nameC,
                   const Object& StaffNo, const Object& Designation, const Object& Unit,
                   const Object& PurposeOfVisit, const Object& addressC, const Object& DateOfVisit,
                   const Object& ValidFrom, const Object& ValidTo, const Object& ContactDetail,
                   const Object& MobileNo, const Object& remarkC) {
    showColumns(frame, rs,
                {{Catagoryx, Property::Text, "Catagoryx"},
                 {SubCategory_, Property::Text, "SubCategory_"},
                 {nameC, Property::Text, "Name_"},
                 {StaffNo, Property::Text, "StaffNo"},
                 {Designation, Property::Text, "Designation"},
                 {Unit, Property::Text, "Unit"},
                 {PurposeOfVisit, Property::Text, "PurposeOfVisit"},
                 {addressC, Property::Text, "Address_"},
                 {DateOfVisit, Property::Text, "DateOfVisit"},
                 {ValidFrom, validity, "ValidFrom"},
                 {ValidTo, validity, "ValidTo"},
                 {ContactDetail, Property::Text, "ContactDetail"},
                 {MobileNo, Property::Text, "MobileNo"},
                 {remarkC, Property::Text, "REMARK"}});
}

// The nineteen controls of the full visit view: the validity and work-order dates go to date
// pickers, everything else (the date of the visit included) to a Text.
void showVisit(OperationFrame& frame, const Recordset& rs, const Object& Catagoryx,
               const Object& SubCategory_, const Object& nameC, const Object& StaffNo,
               const Object& Designation, const Object& Unit, const Object& PurposeOfVisit,
               const Object& addressC, const Object& DateOfVisit, const Object& ValidFrom,
               const Object& ValidTo, const Object& ContactDetail, const Object& MobileNo,
               const Object& remarkC, const Object& Work_Area, const Object& System,
               const Object& WorkOrderNo, const Object& WorkOrderDate,
               const Object& WorkOrderValidity) {
    showVisitHead(frame, rs, Property::Value, Catagoryx, SubCategory_, nameC, StaffNo, Designation,
                  Unit, PurposeOfVisit, addressC, DateOfVisit, ValidFrom, ValidTo, ContactDetail,
                  MobileNo, remarkC);
    showColumns(frame, rs,
                {{Work_Area, Property::Text, "Work_Area"},
                 {System, Property::Text, "System"},
                 {WorkOrderNo, Property::Text, "WorkOrderNo"},
                 {WorkOrderDate, Property::Value, "WorkOrderDate"},
                 {WorkOrderValidity, Property::Value, "WorkOrderValidity"}});
}

}  // namespace

bool VekClass::SaveVisitor(const std::string& Catagoryx, const std::string& SubCategory_,
                           const std::string& visitorName, const std::string& StaffNo,
                           const std::string& Designation, const std::string& Unit,
                           const std::string& PurposeOfVisit, const std::string& visitorAddress,
                           const std::string& DateOfVisit, const std::string& ValidFrom,
                           const std::string& ValidTo, const std::string& ContactDetail,
                           const std::string& MobileNo, const std::string& remarkText,
                           const std::string& workarea, const std::string& Systemx,
                           const std::string& WorkOrderNo, const std::string& WorkOrderDate,
                           const std::string& WorkOrderValidity, const std::string& TableName) {
    bool result = false;
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { connectx(); });
    SN_ = std::int32_t{1};
    frame.step([&] {
        insertUnderNextSerial(TableName, [&] {
            return quoted(Catagoryx) + "," + quoted(SubCategory_) + "," + quoted(visitorName) +
                   "," + quoted(StaffNo) + "," + quoted(Designation) + "," + quoted(Unit) + "," +
                   quoted(PurposeOfVisit) + "," + quoted(visitorAddress) + "," +
                   formattedDateLiteral(DateOfVisit) + "," + formattedDateLiteral(ValidFrom) + "," +
                   formattedDateLiteral(ValidTo) + "," + quoted(ContactDetail) + "," +
                   quoted(MobileNo) + "," + quoted(remarkText) + "," + quoted(workarea) + "," +
                   quoted(Systemx) + "," + quoted(WorkOrderNo) + "," +
                   formattedDateLiteral(WorkOrderDate) + "," +
                   formattedDateLiteral(WorkOrderValidity);
        });
        result = true;
    });
    frame.step([&] { closeCon(); });
    return result && !frame.failed();
}

bool VekClass::UpdateVisit(std::int16_t sn, const std::string& Systemx,
                           const std::string& Work_Areax, const std::string& Catagoryx,
                           const std::string& SubCategory_, const std::string& visitorName,
                           const std::string& StaffNo, const std::string& Designation,
                           const std::string& Unit, const std::string& PurposeOfVisit,
                           const std::string& visitorAddress, const std::string& DateOfVisit,
                           const std::string& ValidFrom, const std::string& ValidTo,
                           const std::string& ContactDetail, const std::string& MobileNo,
                           const std::string& remarkText, const std::string& TableName) {
    bool result = false;
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { connectx(); });
    frame.step([&] {
        // The work-order columns are not assigned: they keep what was saved with the visit.
        runStr(
            "UPDATE " + identifier(TableName) + " SET" + " Catagoryx = " + quoted(Catagoryx) + "," +
            " System = " + quoted(Systemx) + "," + " Work_Area = " + quoted(Work_Areax) + "," +
            " SubCategory_ = " + quoted(SubCategory_) + "," + " Name_  = " + quoted(visitorName) +
            "," + " StaffNo = " + quoted(StaffNo) + "," + " Designation = " + quoted(Designation) +
            "," + " Unit = " + quoted(Unit) + "," + " PurposeOfVisit = " + quoted(PurposeOfVisit) +
            "," + " Address_ = " + quoted(visitorAddress) + "," +
            " DateOfVisit = " + dateLiteral(DateOfVisit) + "," +
            " ValidFrom = " + quoted(ValidFrom) + "," + " ValidTo = " + quoted(ValidTo) + "," +
            " ContactDetail = " + quoted(ContactDetail) + "," + " MobileNo = " + quoted(MobileNo) +
            "," + " REMARK = " + quoted(remarkText) + " WHERE SN = " + std::to_string(sn));
        result = true;
    });
    frame.step([&] { closeCon(); });
    return result && !frame.failed();
}

Variant VekClass::FindVisitDetails(
    std::int16_t SNX, const Object& Catagoryx, const Object& SubCategory_, const Object& nameC,
    const Object& StaffNo, const Object& Designation, const Object& Unit,
    const Object& PurposeOfVisit, const Object& addressC, const Object& DateOfVisit,
    const Object& ValidFrom, const Object& ValidTo, const Object& ContactDetail,
    const Object& MobileNo, const Object& remarkC, const Object& Work_Area, const Object& System,
    const Object& WorkOrderNo, const Object& WorkOrderDate, const Object& WorkOrderValidity) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { closeIfOpen(*Rs); });
    Remarks_.clear();
    frame.step([&] { runStr(kVisitBySerial + std::to_string(SNX)); });
    showVisit(frame, *Rs, Catagoryx, SubCategory_, nameC, StaffNo, Designation, Unit,
              PurposeOfVisit, addressC, DateOfVisit, ValidFrom, ValidTo, ContactDetail, MobileNo,
              remarkC, Work_Area, System, WorkOrderNo, WorkOrderDate, WorkOrderValidity);
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::FindVisitDetailsAsPerStaffNo(
    const std::string& StaffNo_, const Object& Catagoryx, const Object& SubCategory_,
    const Object& nameC, const Object& StaffNo, const Object& Designation, const Object& Unit,
    const Object& PurposeOfVisit, const Object& addressC, const Object& DateOfVisit,
    const Object& ValidFrom, const Object& ValidTo, const Object& ContactDetail,
    const Object& MobileNo, const Object& remarkC, const Object& Work_Area, const Object& System,
    const Object& WorkOrderNo, const Object& WorkOrderDate, const Object& WorkOrderValidity) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    bool found = false;
    frame.step([&] {
        runStr("Select max(SN) from Visitor where StaffNo = " + quoted(StaffNo_));
        found = Rs->RecordCount() >= 1;
    });
    if (!found) {
        // The serial query did not run: nothing else does, and SN_ keeps its value.
        return {};
    }
    frame.step([&] { SN_ = Rs->Fields(0); });
    frame.step([&] { Rs->Close(); });
    Remarks_.clear();
    // A staff number without visits leaves SN_ Null, which is no serial to look up: the lookup
    // is refused before it runs and every control keeps its content.
    frame.step([&] { runStr(kVisitBySerial + bareNumber(SN_.toString())); });
    showVisit(frame, *Rs, Catagoryx, SubCategory_, nameC, StaffNo, Designation, Unit,
              PurposeOfVisit, addressC, DateOfVisit, ValidFrom, ValidTo, ContactDetail, MobileNo,
              remarkC, Work_Area, System, WorkOrderNo, WorkOrderDate, WorkOrderValidity);
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::FindVisitAsPerStaffNo(std::int16_t SNX, const Object& Catagoryx,
                                        const Object& SubCategory_, const Object& nameC,
                                        const Object& StaffNo, const Object& Designation,
                                        const Object& Unit, const Object& PurposeOfVisit,
                                        const Object& addressC, const Object& DateOfVisit,
                                        const Object& ValidFrom, const Object& ValidTo,
                                        const Object& ContactDetail, const Object& MobileNo,
                                        const Object& remarkC) {
    (void)SNX;  // the staff number in the StaffNo control chooses the row
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { closeIfOpen(*Rs); });
    Remarks_.clear();
    frame.step([&] { runStr(kVisitByStaffNo + quoted(getText(StaffNo).toString())); });
    // The first row in the store's order; every column, the dates included, goes to a Text.
    showVisitHead(frame, *Rs, Property::Text, Catagoryx, SubCategory_, nameC, StaffNo, Designation,
                  Unit, PurposeOfVisit, addressC, DateOfVisit, ValidFrom, ValidTo, ContactDetail,
                  MobileNo, remarkC);
    frame.step([&] { closeCon(); });
    return {};
}

}  // namespace quillet
