#pragma once
/// \file
/// \brief The columns employees and appointments share, in their stored order: what the person
/// inserts and rewrites write into them, and what the person lookups read back from them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OperationFrame.h"
#include "records/RecordValues.h"

namespace quillet {

class VekClass;

/// \brief One column and the piece of statement text written for its value.
struct ColumnPiece {
    const char* column;
    std::string piece;
};

/// \brief A person as the inserts and rewrites write it, its members in the order of the
/// operations' own parameters. The texts are quoted when written; the date of birth is written
/// exactly as given (each operation quotes it its own way).
struct PersonRecord {
    std::string_view category;
    std::string_view name;
    std::string_view address;
    std::string_view city;
    std::string_view residentialPhone;
    std::string_view mobileNo;
    std::string birthDate;
    DateParts birthParts;
    std::string_view serviceNo;
    std::string_view remType;
    std::optional<std::string_view> email;  ///< without one the column is not written
    std::string_view remark;
};

/// \brief Catagoryx .. REMARK of the person, in the stored column order.
std::vector<ColumnPiece> personColumns(const PersonRecord& person);

/// \brief The SET list of an UPDATE: " A = a, B = b" (each assignment after a space).
std::string assignments(const std::vector<ColumnPiece>& columns);

/// \brief The pieces alone, joined by commas, for the values list of an insert.
std::string valueList(const std::vector<ColumnPiece>& columns);

/// \brief The select list both person lookups start with, SN to REMARK.
inline constexpr std::string_view kPersonSelect =
    "Select SN , Catagoryx, NAME_,Datex, ADDRESS_, city, RESIDENTIAL_PHONE, MOBILE_No, "
    "SERVICE_No, EMAIL_ID, REMARK";

/// \brief Copies the row those columns selected into the record buffer, SN_ to DATEX_, one step
/// of the frame each: a copy that fails leaves its member as it was.
void readPersonBuffer(OperationFrame& frame, VekClass& vek);

}  // namespace quillet
