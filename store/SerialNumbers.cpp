#include "SerialNumbers.h"

#include <cstdint>

namespace quillet {

Variant serialAfter(const Variant& largest) {
    return largest.isNull() ? Variant(std::int32_t{1}) : largest + Variant(std::int16_t{1});
}

}  // namespace quillet
