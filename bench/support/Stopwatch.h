// Wall-clock timing on the performance counter, and the summaries the benchmarks print.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart() { ::QueryPerformanceCounter(&m_start); }
    double Seconds() const {
        LARGE_INTEGER now, frequency;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_start;
};

template <class Action> double TimeOf(Action&& action) {
    Stopwatch watch;
    action();
    return watch.Seconds();
}

inline double Best(std::vector<double> runs) {
    return runs.empty() ? 0.0 : *std::min_element(runs.begin(), runs.end());
}

inline double Median(std::vector<double> runs) {
    if (runs.empty())
        return 0.0;
    std::sort(runs.begin(), runs.end());
    size_t mid = runs.size() / 2;
    return runs.size() % 2 ? runs[mid] : (runs[mid - 1] + runs[mid]) / 2;
}

}  // namespace bench
