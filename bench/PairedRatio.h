#pragma once
// Ratios that hold on a shared, noisy machine: our side and its limit run alternately in the same
// process, each pair under the same load, and the ratio printed is the median of the pairs'
// ratios. Times are of the thread's processor time, which another process's load stretches less
// than elapsed time; where a server does part of the work (and the client waits for it), elapsed
// time is the only honest measure.

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace quillet::bench {

inline double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

inline double elapsedMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct PairedFigures {
    double oursMs = 0;   ///< median of our side's times
    double limitMs = 0;  ///< median of the limit's times
    double ratio = 0;    ///< median of ours / limit, pair by pair
};

inline double medianOf(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

/// \brief Runs ours and limit once each to warm up, then pairs times, the pair's order alternating
/// so that neither side always runs on caches the other has just filled. clock gives the times
/// (the thread's processor time unless told).
template <class Ours, class Limit>
PairedFigures pairedRatio(int pairs, Ours&& ours, Limit&& limit, double (*clock)() = threadCpuMs) {
    ours();
    limit();
    std::vector<double> oursMs;
    std::vector<double> limitMs;
    std::vector<double> ratios;
    const auto timed = [clock](auto& work) {
        const double before = clock();
        work();
        return clock() - before;
    };
    for (int p = 0; p < pairs; ++p) {
        double o = 0;
        double l = 0;
        if (p % 2 == 0) {
            o = timed(ours);
            l = timed(limit);
        } else {
            l = timed(limit);
            o = timed(ours);
        }
        oursMs.push_back(o);
        limitMs.push_back(l);
        ratios.push_back(l > 0 ? o / l : 0);
    }
    return {medianOf(oursMs), medianOf(limitMs), medianOf(ratios)};
}

inline void printPaired(const char* what, const PairedFigures& figures, double target) {
    std::printf("%-44s %9.3f ms / %9.3f ms = %5.2fx (target %.2fx) %s\n", what, figures.oursMs,
                figures.limitMs, figures.ratio, target, figures.ratio <= target ? "met" : "MISSED");
}

}  // namespace quillet::bench
