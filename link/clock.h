#pragma once

#include <cstdint>

// A monotonic time source. The CTS wait of a send reads it and sleeps on it;
// tests replace it with a clock they move by hand.
class TClock {
public:
    virtual ~TClock() = default;
    virtual std::int64_t NowMicros() const = 0;
    // Returns once NowMicros has reached micros (at once if it has).
    virtual void SleepUntil(std::int64_t micros) const = 0;
};

// The system's steady clock.
class TSteadyClock final : public TClock {
public:
    std::int64_t NowMicros() const override;
    void SleepUntil(std::int64_t micros) const override;
};

// One shared steady clock; it has no state, so sharing it is harmless.
const TClock& SteadyClock();

// A clock moved by hand. With a step set, every reading also moves it on by
// that step, so a busy wait that reads it finishes in a known number of reads.
// A sleep moves it straight to the time asked for.
class TManualClock final : public TClock {
public:
    std::int64_t NowMicros() const override {
        const std::int64_t now = Micros;
        Micros += StepMicros;
        return now;
    }
    void SleepUntil(std::int64_t micros) const override {
        if (micros > Micros)
            Micros = micros;
    }
    void Set(std::int64_t micros) { Micros = micros; }
    void AdvanceMs(std::int64_t ms) { Micros += ms * 1000; }
    std::int64_t StepMicros = 0;

private:
    mutable std::int64_t Micros = 0;
};
