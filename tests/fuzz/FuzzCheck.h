#pragma once
// A broken invariant stops the fuzzer; libFuzzer then saves the input that led to it.

#include <cstdio>
#include <cstdlib>

namespace kelmora::fuzz {

inline void check(bool holds, const char* invariant)
{
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}

}  // namespace kelmora::fuzz
