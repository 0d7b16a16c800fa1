#include "engine/odbc/OdbcHandles.h"

#include <sql.h>

namespace quillet::odbc {

void EnvironmentFree::operator()(void* handle) const noexcept {
    SQLFreeHandle(SQL_HANDLE_ENV, handle);
}

void UnconnectedFree::operator()(void* handle) const noexcept {
    SQLFreeHandle(SQL_HANDLE_DBC, handle);
}

void ConnectionFree::operator()(void* handle) const noexcept {
    SQLDisconnect(handle);
    SQLFreeHandle(SQL_HANDLE_DBC, handle);
}

void StatementFree::operator()(void* handle) const noexcept {
    SQLFreeHandle(SQL_HANDLE_STMT, handle);
}

}  // namespace quillet::odbc
