#pragma once

// A fuzz target's own check: a property that does not hold names itself and stops the run,
// so that libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

namespace clearmark::fuzzing {

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

} // namespace clearmark::fuzzing
