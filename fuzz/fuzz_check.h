#pragma once
// A broken invariant is a finding: say which one and abort so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

namespace tremira::fuzz {

inline void require(bool condition, const char *invariant) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

}  // namespace tremira::fuzz
