// The connection-string parser: any text parses, and the settings it yields, written back in
// braces, parse to the same settings.
#include <string>

#include "FuzzTarget.h"
#include "engine/ConnectionString.h"

namespace {

std::string braced(const std::string& value) {
    std::string out = "{";
    for (const char c : value) {
        out += c;
        if (c == '}') {
            out += '}';
        }
    }
    return out + "}";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = quillet::testing::asText(data, size);
    const quillet::ConnectionSettings settings = quillet::parseConnectionString(input);
    const std::string written = "DSN=" + braced(settings.dataSource) +
                                ";UID=" + braced(settings.user) +
                                ";PWD=" + braced(settings.password);
    const quillet::ConnectionSettings again = quillet::parseConnectionString(written);
    quillet::testing::require(again.dataSource == settings.dataSource &&
                                  again.user == settings.user &&
                                  again.password == settings.password,
                              "settings written in braces parse back unchanged", input);
    return 0;
}
