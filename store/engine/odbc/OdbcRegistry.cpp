#include "engine/odbc/OdbcRegistry.h"

#include <odbcinst.h>

#include <algorithm>
#include <array>

namespace quillet::odbc {

namespace {

constexpr const char* kDataSourceFile = "odbc.ini";

// NOTE: the driver manager itself answers, so a name matches exactly when a connection to it
// would find the entry (its ini lookup ignores case), in the files it would read.
std::string profileString(const std::string& section, const char* key) {
    std::array<char, 4096> buffer{};
    const int length = SQLGetPrivateProfileString(section.c_str(), key, "", buffer.data(),
                                                  static_cast<int>(buffer.size()), kDataSourceFile);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer.data(),
                       std::min<std::size_t>(static_cast<std::size_t>(length), buffer.size() - 1));
}

}  // namespace

bool isRegistered(const std::string& dataSource) {
    if (dataSource.empty()) {
        return false;
    }
    // With no key, the driver manager lists the keys of the section: none means no entry.
    return !profileString(dataSource, nullptr).empty();
}

std::string storedAttribute(const std::string& dataSource,
                            std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        if (std::string value = profileString(dataSource, key); !value.empty()) {
            return value;
        }
    }
    return {};
}

}  // namespace quillet::odbc
