#pragma once
// Timing and figures shared by the benchmarks: the performance counter, which the simulated
// mouse driver reads too, and percentiles of samples in milliseconds.
#include <windows.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

inline int64_t Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

inline double TicksMs(int64_t ticks)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return ticks * 1000.0 / f.QuadPart;
}

// The sample at p percent (nearest rank); 0 for none.
inline double Percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t i = (size_t)std::ceil(p / 100.0 * v.size());
    return v[i ? i - 1 : 0];
}
