#include <cstdio>
#include <cstdlib>

#include "FuzzTarget.h"

namespace quillet::testing {

void propertyBroken(std::string_view property, std::string_view input) {
    std::fprintf(stderr, "property broken: %.*s\ninput (%zu bytes): %.*s\n",
                 static_cast<int>(property.size()), property.data(), input.size(),
                 static_cast<int>(input.size() > 400 ? 400 : input.size()), input.data());
    std::abort();
}

}  // namespace quillet::testing
