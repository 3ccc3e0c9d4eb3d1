#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: say which one and abort, so that
// libFuzzer keeps the input that broke it.
inline void Require(bool holds, const char* invariant) {
    if (holds)
        return;
    std::fprintf(stderr, "Broken invariant: %s\n", invariant);
    std::abort();
}
