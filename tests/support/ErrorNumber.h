#pragma once
// The classic error number a call raises, or 0 when it raises none.

#include <utility>

#include "runtime/RuntimeError.h"

namespace quillet::testing {

template <class Call>
int errorNumberOf(Call&& call) {
    try {
        std::forward<Call>(call)();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace quillet::testing
