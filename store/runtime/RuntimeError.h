#pragma once
/// \file
/// \brief The one error type of the record-store layer and the run-time helpers.

#include <stdexcept>
#include <string>

#include "quillet_store_export.h"

namespace quillet {

/// \brief Classic run-time error numbers raised by our own code.
namespace err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int FileNotFound = 53;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectRequired = 424;
inline constexpr int PropertyNotSupported = 438;
/// Failures reported by a record-store engine carry this number, the engine's description and,
/// separately, the engine's native code and SQLSTATE.
inline constexpr int StoreError = -2147217900;
/// A value the record store cannot hold in a column (a text that is not a date for a date column).
inline constexpr int StoreTypeMismatch = -2147217913;
/// The data source cannot be opened.
inline constexpr int StoreConnectFailed = -2147467259;
/// An operation on a closed connection or recordset.
inline constexpr int StoreObjectClosed = -2146824584;
/// Opening a connection or recordset that is already open.
inline constexpr int StoreObjectOpen = -2146824583;
/// A recordset opened on a closed or missing connection.
inline constexpr int StoreInvalidConnection = -2146824579;
/// Reading a field at end of file, or an unknown field.
inline constexpr int StoreNoCurrentRecord = -2146825267;
inline constexpr int StoreItemNotFound = -2146825023;
}  // namespace err

/// \brief A run-time error: the classic error number and description, and where it came from an
/// engine, the engine's native code and SQLSTATE.
class QUILLET_STORE_EXPORT RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string description, long nativeCode = 0,
                 std::string sqlState = {})
        : std::runtime_error(description),
          m_number(number),
          m_description(std::move(description)),
          m_nativeCode(nativeCode),
          m_sqlState(std::move(sqlState)) {}

    int number() const noexcept { return m_number; }
    const std::string& description() const noexcept { return m_description; }
    long nativeCode() const noexcept { return m_nativeCode; }
    const std::string& sqlState() const noexcept { return m_sqlState; }

    static RuntimeError typeMismatch() { return {err::TypeMismatch, "Type mismatch"}; }
    static RuntimeError overflow() { return {err::Overflow, "Overflow"}; }
    static RuntimeError invalidUseOfNull() {
        return {err::InvalidUseOfNull, "Invalid use of Null"};
    }
    static RuntimeError invalidProcedureCall() {
        return {err::InvalidProcedureCall, "Invalid procedure call or argument"};
    }
    static RuntimeError propertyNotSupported() {
        return {err::PropertyNotSupported, "Object doesn't support this property or method"};
    }
    static RuntimeError objectRequired() { return {err::ObjectRequired, "Object required"}; }

private:
    int m_number;
    std::string m_description;
    long m_nativeCode;
    std::string m_sqlState;
};

}  // namespace quillet
