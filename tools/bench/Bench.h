// What the benchmarks share: the clock and the summary of a set of rounds.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double nowUs() {
    static const LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(freq.QuadPart);
}

struct Spread {
    double median;
    double best;
};

inline Spread spread(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front()};
}
