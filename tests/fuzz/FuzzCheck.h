#pragma once

#include <cstdio>
#include <cstdlib>

// A property of the code under test that must hold for every input. A failure
// aborts, which the fuzzer and the corpus replay both report as a crash with
// the input that caused it.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed at %s:%d: %s (%s)\n", __FILE__, __LINE__,      \
                         what, #condition);                                                        \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
