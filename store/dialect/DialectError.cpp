#include "dialect/DialectError.h"

#include "runtime/RuntimeError.h"

namespace quillet::dialect {

namespace {
constexpr std::size_t kExcerptBytes = 40;
}

void raiseDialectError(std::string description) {
    throw RuntimeError(err::StoreError, std::move(description), 0, "42000");
}

std::string excerpt(std::string_view text) {
    if (text.size() <= kExcerptBytes) {
        return std::string(text);
    }
    std::size_t cut = kExcerptBytes;
    // Back up to the first byte of a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(text.substr(0, cut)) + "...";
}

}  // namespace quillet::dialect
