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

// A clock moved by hand. With a step set, every reading also moves it on by
// that step, so a busy wait that reads it finishes in a known number of reads.
class TManualClock final : public TClock {
public:
    std::int64_t NowMicros() const override {
        const std::int64_t now = Micros;
        Micros += StepMicros;
        return now;
    }
    void Set(std::int64_t micros) { Micros = micros; }
    void AdvanceMs(std::int64_t ms) { Micros += ms * 1000; }
    std::int64_t StepMicros = 0;

private:
    mutable std::int64_t Micros = 0;
};
