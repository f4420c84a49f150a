#pragma once

#include <cstdio>
#include <cstdlib>

// What a harness asserts: a broken property is a finding, as a crash is. Prints where
// and why, then aborts, so libFuzzer saves the input and the replay test fails.
#define FUZZ_CHECK(condition, what)                                                        \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: %s: %s\n", __FILE__, __LINE__, #condition, what); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
