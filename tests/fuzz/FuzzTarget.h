#pragma once
// What every fuzz target shares: libFuzzer's entry point and the way a broken property ends the
// run. The same target is linked with libFuzzer (clang, make fuzz) or with CorpusReplay.cpp,
// which feeds it the stored corpus as an ordinary test.

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace quillet::testing {

/// Reports a broken property and aborts, so libFuzzer keeps the input and the replay fails.
[[noreturn]] void propertyBroken(std::string_view property, std::string_view input);

inline void require(bool holds, std::string_view property, std::string_view input) {
    if (!holds) {
        propertyBroken(property, input);
    }
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace quillet::testing
