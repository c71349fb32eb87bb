#pragma once
// A property a fuzz target asserts: a broken one stops the run where libFuzzer reports it.

#include <cstdlib>

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}
