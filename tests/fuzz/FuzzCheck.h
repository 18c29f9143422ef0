// The fuzzers' check of an invariant: a failure aborts with the condition and its place, and
// libFuzzer keeps the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace tb::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: failed: %s\n", file, line, what);
    std::abort();
}

}  // namespace tb::fuzz

#define require(condition) ((condition) ? void() : tb::fuzz::fail(#condition, __FILE__, __LINE__))
