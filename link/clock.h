#pragma once

#include <cstdint>

// A monotonic time source. The CTS wait of a send reads it; tests replace it
// with a clock they move by hand.
class TClock {
public:
    virtual ~TClock() = default;
    virtual std::int64_t NowMicros() const = 0;
};

// The system's steady clock.
class TSteadyClock final : public TClock {
public:
    std::int64_t NowMicros() const override;
};

// One shared steady clock; it has no state, so sharing it is harmless.
const TClock& SteadyClock();
