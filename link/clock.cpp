#include "link/clock.h"

#include <chrono>

std::int64_t TSteadyClock::NowMicros() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

const TClock& SteadyClock() {
    static const TSteadyClock clock;
    return clock;
}
