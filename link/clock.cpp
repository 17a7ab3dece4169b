#include "link/clock.h"

#include <cerrno>
#include <chrono>
#include <time.h>

// steady_clock reads CLOCK_MONOTONIC, so its microseconds are a time that
// clock_nanosleep can sleep until.
static_assert(std::chrono::steady_clock::is_steady);

std::int64_t TSteadyClock::NowMicros() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void TSteadyClock::SleepUntil(std::int64_t micros) const {
    if (micros <= 0)
        return;
    timespec until{};
    until.tv_sec = static_cast<time_t>(micros / 1000000);
    until.tv_nsec = static_cast<long>(micros % 1000000) * 1000;
    // A signal may end the sleep early; the sleep goes on to its end.
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

const TClock& SteadyClock() {
    static const TSteadyClock clock;
    return clock;
}
