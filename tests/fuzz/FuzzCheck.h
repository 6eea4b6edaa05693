#pragma once

#include <cstdlib>

namespace kestrava::fuzz {

// A broken property ends the run the way a sanitizer finding does, so the fuzzer keeps the input
// and the corpus replay fails on it.
inline void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace kestrava::fuzz
