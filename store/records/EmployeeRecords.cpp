// Employee and appointment records: the appointment and cable lookups with their copy into
// controls, the serial of an employee by name, the employee and appointment updates, and the
// deletes of appointments and employed persons.
//
// Where a parameter carries the column name that a record-buffer member also carries (NAME_,
// ADDRESS_, SERVICE_No, remark), the definition spells the parameter in camelCase, so the two
// can never be mistaken for one another inside an operation.
#include <optional>

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"
#include "records/PersonColumns.h"
#include "records/RecordSteps.h"
#include "records/RecordValues.h"

namespace quillet {

Variant VekClass::FindDetails(const std::string& ColumName, const std::string& ColumValue,
                              const std::string& TableName) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { closeIfOpen(*RsTwo); });
    Remarks_.clear();
    frame.step([&] {
        const std::string& column = identifier(ColumName);
        const std::string sql = "Select SN from " + identifier(TableName) + " where " + column +
                                " = " + quoted(ColumValue) + "  order by " + column + " asc";
        str = sql;
        runOn(*RsTwo, sql);
    });
    // The walk ends at once when the search did not run: RsTwo is then closed.
    while (RsTwo->State() == kStateOpen && !RsTwo->Eof()) {
        frame.step([&] { SN_ = RsTwo->Fields("SN"); });
        frame.step([&] {
            // Closed first: a row whose serial cannot be written must not read the row before.
            closeIfOpen(*Rs);
            runStr("Select * from " + identifier(TableName) + " where SN = " + bareValue(SN_));
        });
        frame.step([&] { SN_ = Rs->Fields("SN"); });
        frame.step([&] { CableNum_ = Rs->Fields("CableNum"); });
        frame.step([&] { ConnDesc_ = Rs->Fields("ConnDesc"); });
        frame.step([&] { ConnPartNo_ = Rs->Fields("ConnPartNo"); });
        frame.step([&] { BackShell_ = Rs->Fields("BackShell"); });
        frame.step([&] { Boot_ = Rs->Fields("Boot"); });
        frame.step([&] { StripSteel_ = Rs->Fields("StripSteel"); });
        frame.step([&] {
            const Variant& remarks = Rs->Fields("Remarks");
            if (!Remarks_.empty()) {
                // A Null remark still adds its separator, so the count of rows stays visible.
                Remarks_ += "  -   " + remarks.toStringOr("");
            } else {
                Remarks_ = remarks.toString();
            }
        });
        frame.step([&] { RsTwo->MoveNext(); });
    }
    Statusx_ = "";
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("Select * from CableStatus where CableNum = " + quoted(CableNum_.toStringOr("")));
    });
    frame.step([&] {
        const Variant& status = Rs->Fields("Remarks");
        Statusx_ = status.isNull() ? Variant("") : status;
    });
    frame.step([&] { closeCon(); });
    return {};
}

bool VekClass::AssignToObject(const Object& one, const Object& two, const Object& three,
                              const Object& four, const Object& five, const Object& six,
                              const Object& seven) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { setText(one, ConnDesc_); });
    frame.step([&] { setText(two, ConnPartNo_); });
    frame.step([&] { setText(three, BackShell_); });
    frame.step([&] { setText(four, Boot_); });
    frame.step([&] { setText(five, StripSteel_); });
    frame.step([&] { setText(six, Remarks_); });
    frame.step([&] { setText(seven, Statusx_); });
    return false;
}

Variant VekClass::Findapp(const std::string& ColumValue) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { closeIfOpen(*Rs); });
    Remarks_.clear();
    frame.step([&] {
        runStr(std::string(kPersonSelect) +
               " from Appointment where sn = " + bareNumber(ColumValue));
    });
    readPersonBuffer(frame, *this);
    frame.step([&] { closeCon(); });
    return {};
}

std::int16_t VekClass::FindSlofEmmpDetail(const std::string& ColumValue) {
    // The result comes from this lookup alone: no row gives 0, never the serial an earlier
    // lookup left in SN_.
    std::int16_t result = 0;
    std::optional<Variant> found;
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("Select SN from EmpDetail where NAME_ = " + quoted(ColumValue));
    });
    frame.step([&] {
        found = Rs->Fields("SN");
        SN_ = *found;
    });
    frame.step([&] {
        if (found) {
            result = found->toInteger();
        }
    });
    frame.step([&] { closeCon(); });
    return result;
}

Variant VekClass::UpdateEmpDetail(const std::string& SNX, const std::string& Catagoryx,
                                  const std::string& personName, const std::string& address,
                                  const std::string& CITY, const std::string& RESIDENTIAL_PHONE,
                                  const std::string& MOBILE_No, std::string& DOB,
                                  const std::string& serviceNo, const std::string& REM_TYPE,
                                  const std::string& EMAIL_ID, const std::string& remarkText,
                                  const std::string& cmbdesig, const std::string& CMBEquip,
                                  const std::string& CmbPro, const std::string& CMBSBU,
                                  const std::string& txtOther, std::int16_t code,
                                  const std::string& hindiname, const std::string& TableName) {
    DateParts parts;
    if (const auto read = datePartsOf(DOB)) {
        parts = *read;
    } else {
        DOB.clear();
    }
    OperationFrame frame(Trap::JumpToCheck);
    std::vector<ColumnPiece> columns =
        personColumns({Catagoryx, personName, address, CITY, RESIDENTIAL_PHONE, MOBILE_No,
                       quoted(DOB), parts, serviceNo, REM_TYPE, EMAIL_ID, remarkText});
    columns.insert(columns.end(), {{"Designation", quoted(cmbdesig)},
                                   {"EQUIPMENT", quoted(CMBEquip)},
                                   {"PROJECT", quoted(CmbPro)},
                                   {"SBU", quoted(CMBSBU)},
                                   {"Other", quoted(txtOther)},
                                   {"code", std::to_string(code)},
                                   {"NameHindi", quoted(hindiname)}});
    rewritePerson(frame, TableName, assignments(columns), SNX);
    showRecordedError(frame);
    return {};
}

Variant VekClass::UpdateApp(const std::string& SNX, const std::string& Catagoryx,
                            const std::string& personName, const std::string& address,
                            const std::string& CITY, const std::string& RESIDENTIAL_PHONE,
                            const std::string& MOBILE_No, std::string& DOB,
                            const std::string& serviceNo, const std::string& REM_TYPE,
                            const std::string& EMAIL_ID, const std::string& remarkText,
                            const std::string& TableName) {
    const DateParts parts = datePartsOrToday(DOB);
    OperationFrame frame(Trap::JumpToCheck);
    // DOB reads as a date here, so it carries nothing but a date between the "#" signs.
    rewritePerson(frame, TableName,
                  assignments(personColumns({Catagoryx, personName, address, CITY,
                                             RESIDENTIAL_PHONE, MOBILE_No, "#" + DOB + "#", parts,
                                             serviceNo, REM_TYPE, EMAIL_ID, remarkText})),
                  SNX);
    showRecordedError(frame);
    return {};
}

Variant VekClass::deleteApp(std::int16_t sn) {
    OperationFrame frame(Trap::Untrapped);
    deleteBySerial(frame, "Delete * from Appointment where SN = ", sn);
    return {};
}

Variant VekClass::deleteEmployed(std::int16_t sn) {
    OperationFrame frame(Trap::Untrapped);
    deleteBySerial(frame, "Delete * from PersonEmployed where SN = ", sn);
    return {};
}

}  // namespace quillet
