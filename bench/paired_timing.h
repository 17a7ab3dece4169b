#pragma once

// A figure and its floor, timed in the same benchmark, one after the other in
// every iteration, so that both meet the same machine state. Times are the
// thread's processor time, so that a machine shared with other work does not
// count the time this thread waited for a core. The benchmark's time is the
// subject's; the counters add both times per item and the ratio
// subject / floor. Register with ->UseManualTime().

#include <benchmark/benchmark.h>

#include <time.h>

inline double ThreadCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// prepare runs, untimed, before the subject and before the floor.
inline void NothingToPrepare() {}

template <typename Subject, typename Floor, typename Prepare = void (*)()>
void RunPaired(benchmark::State& state, Subject subject, Floor floor, double itemsPerIteration = 1,
               Prepare prepare = NothingToPrepare) {
    double subjectSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        prepare();
        const double t0 = ThreadCpuSeconds();
        subject();
        const double t1 = ThreadCpuSeconds();
        prepare();
        const double t2 = ThreadCpuSeconds();
        floor();
        const double t3 = ThreadCpuSeconds();
        subjectSeconds += t1 - t0;
        floorSeconds += t3 - t2;
        state.SetIterationTime(t1 - t0);
    }
    const double items = static_cast<double>(state.iterations()) * itemsPerIteration;
    if (items <= 0 || floorSeconds <= 0)
        return;
    state.counters["subject_ns"] = subjectSeconds * 1e9 / items;
    state.counters["floor_ns"] = floorSeconds * 1e9 / items;
    state.counters["ratio"] = subjectSeconds / floorSeconds;
}
