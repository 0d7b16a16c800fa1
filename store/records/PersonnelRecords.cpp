// Personnel and manpower records: the employee lookup and its copies into controls, the two
// employee inserts, the in-time updates, the employee delete, and the monthly manpower register.
//
// The manpower register keeps one row per person, month and year with one attendance column per
// day, one_ .. thirtyone_ (1 marks the day). saveManpower marks day day_ for the person, month
// and year, first inserting the person's row for that month (with designation, staff number,
// equipment and project) when there is none; UpdateManPower leaves in SN_ the number of days
// marked for the person, month and year and returns true. A day outside 1..31 or a month outside
// 1..12 makes either of them return false without opening the store, so nothing is written.
//
// Where a parameter carries the column name that a record-buffer member also carries (NAME_,
// ADDRESS_, SERVICE_No, remark, Other, Designation_), the definition spells the parameter in
// camelCase, so the two can never be mistaken for one another inside an operation.
#include <array>
#include <optional>

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"
#include "WriteTransaction.h"
#include "records/PersonColumns.h"
#include "records/RecordSteps.h"
#include "records/RecordValues.h"

namespace quillet {

namespace {

bool isDayOfMonth(int day) {
    return day >= 1 && day <= 31;
}
bool isMonth(int month) {
    return month >= 1 && month <= 12;
}

// The where clause that finds a person's row of one month in the manpower register.
std::string manpowerRow(const std::string& name, const std::string& month,
                        const std::string& year) {
    return " WHERE Name_ = " + quoted(name) + " and  Month_ = " + month + " and Year_ = " + year;
}

}  // namespace

Variant VekClass::FindPersonnelDetails(const std::string& ColumValue) {
    for (Variant* member :
         {&Catagoryx_, &NAME_, &ADDRESS_, &city_, &RESIDENTIAL_PHONE_, &MOBILE_No_, &SERVICE_No,
          &EMAIL_ID_, &DATEX_, &des_, &equ_, &pro_, &SBU_, &Other_, &code_}) {
        *member = "";
    }
    Remarks_.clear();
    NameHindi_.clear();

    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr(std::string(kPersonSelect) +
               ",Designation,EQUIPMENT,PROJECT,SBU, Other , code, NameHindi    from EmpDetail "
               "where sn = " +
               bareNumber(ColumValue));
    });
    readPersonBuffer(frame, *this);
    const auto read = [&](Variant& member, const char* column) {
        frame.step([&] { member = Rs->Fields(column); });
    };
    read(des_, "Designation");
    read(equ_, "EQUIPMENT");
    read(pro_, "PROJECT");
    read(SBU_, "SBU");
    read(Other_, "Other");
    read(code_, "code");
    frame.step([&] { NameHindi_ = Rs->Fields("NameHindi").toString(); });
    frame.step([&] { closeCon(); });
    return {};
}

bool VekClass::AssignToObjectPersonnel(const Object& one, const Object& two, const Object& three,
                                       const Object& four, const Object& five, const Object& six,
                                       const Object& seven, const Object& eight, const Object& nine,
                                       const Object& ten, const Object& eleven, const Object& des,
                                       const Object& equ, const Object& pro, const Object& SBU,
                                       const Object& otherControl, const Object& codex,
                                       const Object& hindi) {
    // The first eleven are exactly the older copy; each assignment is trapped on its own there.
    AssignToObjectPersonnelOLD(one, two, three, four, five, six, seven, eight, nine, ten, eleven);
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] {
        const bool none = des_.isNull() || des_.toString().empty();
        setText(des, none ? Variant("-") : des_);
    });
    frame.step([&] { setText(equ, equ_); });
    frame.step([&] { setText(pro, pro_); });
    frame.step([&] { setText(SBU, SBU_); });
    frame.step([&] { setText(otherControl, Other_); });
    frame.step([&] { setText(codex, code_); });
    frame.step([&] { setText(hindi, NameHindi_); });
    return false;
}

bool VekClass::AssignToObjectPersonnelOLD(const Object& one, const Object& two, const Object& three,
                                          const Object& four, const Object& five, const Object& six,
                                          const Object& seven, const Object& eight,
                                          const Object& nine, const Object& ten,
                                          const Object& eleven) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { setText(one, SN_); });
    frame.step([&] { setText(two, Catagoryx_); });
    frame.step([&] { setText(three, NAME_); });
    frame.step([&] { setText(four, ADDRESS_); });
    frame.step([&] { setText(five, city_); });
    frame.step([&] { setText(six, RESIDENTIAL_PHONE_); });
    frame.step([&] { setText(seven, MOBILE_No_); });
    frame.step([&] { setText(eight, SERVICE_No); });
    frame.step([&] { setText(nine, DATEX_); });
    frame.step([&] { setText(ten, EMAIL_ID_); });
    frame.step([&] { setText(eleven, Remarks_); });
    return false;
}

bool VekClass::SavePersonnel(std::string& Catagoryx, std::string& personName, std::string& address,
                             std::string& CITY, std::string& RESIDENTIAL_PHONE,
                             std::string& MOBILE_No, std::string& DOB, std::string& serviceNo,
                             std::string& REM_TYPE, std::string& EMAIL_ID, std::string& remarkText,
                             std::string& Designation, std::string& EQUIPMENT, std::string& PROJECT,
                             std::string& SBU, std::string& otherText, std::int16_t code,
                             const std::string& hindiname, const std::string& TableName) {
    bool result = false;
    connectx();
    SN_ = 1;
    OperationFrame frame(Trap::JumpToCheck);
    // The serial and the insert are one unit: no other writer can take the serial between them.
    std::optional<WriteTransaction> unit;
    Variant serial;
    frame.step([&] { unit.emplace(*Con); });
    frame.step([&] { serial = nextSerial(TableName); });
    frame.step([&] {
        for (std::string* text : {&CITY, &personName, &Catagoryx, &address, &remarkText, &serviceNo,
                                  &MOBILE_No, &EMAIL_ID, &RESIDENTIAL_PHONE, &REM_TYPE,
                                  &Designation, &EQUIPMENT, &PROJECT, &SBU, &otherText}) {
            trimSpaces(*text);
        }
    });
    frame.step([&] {
        // A DOB that is not a date is written as given; the store refuses it for Datex.
        const DateParts parts = datePartsOf(DOB).value_or(DateParts{});
        std::vector<ColumnPiece> columns =
            personColumns({Catagoryx, personName, address, CITY, RESIDENTIAL_PHONE, MOBILE_No,
                           quoted(DOB), parts, serviceNo, REM_TYPE, EMAIL_ID, remarkText});
        columns.insert(columns.end(), {{"Designation", quoted(Designation)},
                                       {"EQUIPMENT", quoted(EQUIPMENT)},
                                       {"PROJECT", quoted(PROJECT)},
                                       {"Active", "1"},
                                       {"SBU", quoted(SBU)},
                                       {"Other", quoted(otherText)},
                                       {"code", std::to_string(code)},
                                       {"NameHindi", quoted(hindiname)}});
        closeIfOpen(*Rs);
        runStr(insertStatement(TableName, serial, valueList(columns)));
    });
    frame.step([&] {
        unit->commit();
        result = true;
    });
    // Con stays open; the next operation's connectx closes and reopens it.
    return result && !frame.failed();
}

bool VekClass::SavePersonnelOLD(std::string& Catagoryx, std::string& personName,
                                std::string& address, std::string& CITY,
                                const std::string& RESIDENTIAL_PHONE, const std::string& MOBILE_No,
                                std::string& DOB, const std::string& serviceNo,
                                const std::string& REM_TYPE, const std::string& EMAIL_ID,
                                std::string& remarkText, const std::string& TableName) {
    OperationFrame frame(Trap::Untrapped);
    std::optional<WriteTransaction> unit;
    Variant serial;
    openNumberedWrite(frame, unit, serial, TableName);
    frame.step([&] {
        for (std::string* text : {&CITY, &personName, &Catagoryx, &address, &remarkText}) {
            trimSpaces(*text);
        }
    });
    frame.step([&] {
        const DateParts parts = datePartsOrToday(DOB);
        closeIfOpen(*Rs);
        runStr(insertStatement(
            TableName, serial,
            valueList(personColumns({Catagoryx, personName, address, CITY, RESIDENTIAL_PHONE,
                                     MOBILE_No, "#" + DOB + "#", parts, serviceNo, REM_TYPE,
                                     EMAIL_ID, remarkText}))));
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { closeCon(); });
    return true;
}

Variant VekClass::UpdateInTime(const std::string& SNX, const std::string& Catagoryx,
                               const std::string& personName, const std::string& address,
                               const std::string& CITY, const std::string& RESIDENTIAL_PHONE,
                               const std::string& MOBILE_No, std::string& DOB,
                               const std::string& serviceNo, const std::string& REM_TYPE,
                               const std::string& EMAIL_ID, const std::string& remarkText,
                               const std::string& TableName) {
    (void)EMAIL_ID;  // accepted and not written: the stored e-mail address stays as it was
    const DateParts parts = datePartsOrToday(DOB);
    OperationFrame frame(Trap::JumpToCheck);
    rewritePerson(frame, TableName,
                  assignments(personColumns({Catagoryx, personName, address, CITY,
                                             RESIDENTIAL_PHONE, MOBILE_No, "#" + DOB + "#", parts,
                                             serviceNo, REM_TYPE, std::nullopt, remarkText})),
                  SNX);
    showRecordedError(frame);
    return {};
}

bool VekClass::UpdatePersonnel(std::int16_t sn, const std::string& InTime,
                               const std::string& TableName) {
    bool result = false;
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { connectx(); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("UPDATE " + identifier(TableName) + " SET" + " MOBILE_No = " + quoted(InTime) +
               ", REM_TYPE = 'IN'" + " WHERE SN = " + std::to_string(sn));
        result = true;
    });
    frame.step([&] { closeCon(); });
    return result && !frame.failed();
}

Variant VekClass::deletepersonnel(std::int16_t sn) {
    OperationFrame frame(Trap::Untrapped);
    deleteBySerial(frame, "Delete * from EmpDetail where SN = ", sn);
    return {};
}

bool VekClass::saveManpower(std::int16_t day_, std::int16_t Month_, const std::string& Year_,
                            const std::string& personName, const std::string& designation,
                            const std::string& STAFF_No, const std::string& EQUIPMENT,
                            const std::string& PROJECT, const std::string& TableName) {
    if (!isDayOfMonth(day_) || !isMonth(Month_)) {
        return false;
    }
    OperationFrame frame(Trap::Untrapped);
    std::optional<WriteTransaction> unit;
    std::string table;
    std::string month;
    std::string year;
    frame.step([&] { connectx(); });
    frame.step([&] {
        table = identifier(TableName);
        month = std::to_string(Month_);
        year = bareNumber(Year_);
    });
    // Finding the row, inserting it when missing and marking the day are one unit, so two
    // writers never insert the same person's month twice.
    frame.step([&] { unit.emplace(*Con); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("Select SN from " + table + manpowerRow(personName, month, year));
    });
    frame.step([&] {
        if (!Rs->Eof()) {
            SN_ = Rs->Fields("SN");
            return;
        }
        const Variant serial = nextSerial(table);
        std::string columns = "SN, Name_, Designation, STAFF_No, EQUIPMENT, PROJECT, Month_, Year_";
        std::string values = bareValue(serial) + "," + quoted(personName) + "," +
                             quoted(designation) + "," + quoted(STAFF_No) + "," +
                             quoted(EQUIPMENT) + "," + quoted(PROJECT) + "," + month + "," + year;
        for (int day = 1; day <= 31; ++day) {
            columns += ", " + dayColumn(day);
            values += ",0";
        }
        runStr("insert into " + table + " (" + columns + ") values(" + values + ")");
    });
    frame.step([&] {
        runStr("UPDATE " + table + " SET " + dayColumn(day_) + " = 1" +
               manpowerRow(personName, month, year));
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { closeCon(); });
    return true;
}

bool VekClass::UpdateManPower(const std::string& personName, std::int16_t Month_,
                              std::int16_t Year_) {
    if (!isMonth(Month_)) {
        return false;
    }
    bool result = false;
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { connectx(); });
    frame.step([&] {
        std::string columns;
        for (int day = 1; day <= 31; ++day) {
            columns += (day == 1 ? "" : ", ") + dayColumn(day);
        }
        closeIfOpen(*Rs);
        runStr("Select " + columns + " from Manpower" +
               manpowerRow(personName, std::to_string(Month_), std::to_string(Year_)));
    });
    frame.step([&] {
        // A day counts once, however many rows of the month mark it.
        std::array<bool, 31> marked{};
        while (!Rs->Eof()) {
            for (int day = 0; day < 31; ++day) {
                const Variant& value = Rs->Fields(day);
                marked[static_cast<std::size_t>(day)] = marked[static_cast<std::size_t>(day)] ||
                                                        (!value.isNull() && value.toDouble() != 0);
            }
            Rs->MoveNext();
        }
        std::int32_t count = 0;
        for (const bool day : marked) {
            count += day ? 1 : 0;
        }
        SN_ = count;
        result = true;
    });
    frame.step([&] { closeCon(); });
    return result && !frame.failed();
}

}  // namespace quillet
