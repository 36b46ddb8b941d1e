// A broken invariant stops the run with a crash that libFuzzer saves as a
// reproducer, in every build type (assert() would vanish from release builds).
#pragma once

#include <cstdio>
#include <cstdlib>

namespace bankwise::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace bankwise::fuzz

#define BANKWISE_FUZZ_CHECK(condition)                                                             \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::bankwise::fuzz::Fail(#condition, __FILE__, __LINE__);                                \
    } while (false)
