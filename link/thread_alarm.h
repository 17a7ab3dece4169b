#pragma once

#include <cstdint>
#include <ctime>

// Bounds a blocking system call that has no timeout of its own (TIOCMIWAIT):
// while armed, a timer of the calling thread sends that thread a real-time
// signal when the time is up, and again every millisecond after, until the
// alarm is disarmed. The signal's handler does nothing and is installed
// without SA_RESTART, so the call returns with EINTR. The repeats cover a
// signal that lands just before the call begins.
//
// The alarm is not armed (Armed() false) when the signal cannot be used: its
// handler belongs to someone else, the thread blocks it, or no timer could
// be made. A caller must then not make a call that could block for ever.
class TThreadAlarm {
public:
    explicit TThreadAlarm(std::int64_t timeoutMicros);
    ~TThreadAlarm();

    TThreadAlarm(const TThreadAlarm&) = delete;
    TThreadAlarm& operator=(const TThreadAlarm&) = delete;

    bool Armed() const { return IsArmed; }

    // The signal the alarm sends.
    static int Signal();

private:
    timer_t Timer{};
    bool IsArmed = false;
};
