#include "records/PersonColumns.h"

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"

namespace quillet {

std::vector<ColumnPiece> personColumns(const PersonRecord& person) {
    std::vector<ColumnPiece> columns = {
        {"Catagoryx", quoted(person.category)},
        {"NAME_", quoted(person.name)},
        {"ADDRESS_", quoted(person.address)},
        {"CITY", quoted(person.city)},
        {"RESIDENTIAL_PHONE", quoted(person.residentialPhone)},
        {"MOBILE_No", quoted(person.mobileNo)},
        {"Datex", person.birthDate},
        {"DAYX", std::to_string(person.birthParts.day)},
        {"MONTHX", std::to_string(person.birthParts.month)},
        {"YEARX", std::to_string(person.birthParts.year)},
        {"SERVICE_No", quoted(person.serviceNo)},
        {"REM_TYPE", quoted(person.remType)},
    };
    if (person.email) {
        columns.push_back({"EMAIL_ID", quoted(*person.email)});
    }
    columns.push_back({"REMARK", quoted(person.remark)});
    return columns;
}

std::string assignments(const std::vector<ColumnPiece>& columns) {
    std::string out;
    const char* separator = " ";
    for (const ColumnPiece& column : columns) {
        out += separator + std::string(column.column) + " = " + column.piece;
        separator = ", ";
    }
    return out;
}

std::string valueList(const std::vector<ColumnPiece>& columns) {
    std::string out;
    const char* separator = "";
    for (const ColumnPiece& column : columns) {
        out += separator + column.piece;
        separator = ",";
    }
    return out;
}

void readPersonBuffer(OperationFrame& frame, VekClass& vek) {
    const auto read = [&](Variant& member, const char* column) {
        frame.step([&] { member = vek.Rs->Fields(column); });
    };
    read(vek.SN_, "SN");
    read(vek.Catagoryx_, "Catagoryx");
    read(vek.NAME_, "NAME_");
    read(vek.ADDRESS_, "ADDRESS_");
    read(vek.city_, "city");
    read(vek.RESIDENTIAL_PHONE_, "RESIDENTIAL_PHONE");
    read(vek.MOBILE_No_, "MOBILE_No");
    read(vek.SERVICE_No, "SERVICE_No");
    read(vek.EMAIL_ID_, "EMAIL_ID");
    frame.step([&] { vek.Remarks_ = vek.Rs->Fields("REMARK").toString(); });
    read(vek.DATEX_, "Datex");
}

}  // namespace quillet
