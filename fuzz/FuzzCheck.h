#pragma once
// A property a fuzz target asserts: a broken one stops the run where libFuzzer reports it, after
// naming the line of the property, which optimised stacks often do not show.

#include <cstdio>
#include <cstdlib>

inline void Check(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "property broken at %s:%d\n", file, line);
        std::abort();
    }
}
