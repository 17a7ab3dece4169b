#include "link/thread_alarm.h"

#include <csignal>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

namespace {

void Nothing(int) {}

// Installs the empty handler once; true while the signal's disposition is
// that handler.
bool HandlerInPlace() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction old {};
        if (::sigaction(TThreadAlarm::Signal(), nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
            return; // someone else's signal: left alone
        struct sigaction action {};
        action.sa_handler = Nothing;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the interrupted call returns EINTR
        ::sigaction(TThreadAlarm::Signal(), &action, nullptr);
    });
    // A handler replaced since would let the signal's default action, the
    // end of the process, take place.
    struct sigaction now {};
    return ::sigaction(TThreadAlarm::Signal(), nullptr, &now) == 0 && now.sa_handler == Nothing;
}

bool BlockedInThisThread() {
    sigset_t mask;
    sigemptyset(&mask);
    return ::pthread_sigmask(SIG_BLOCK, nullptr, &mask) != 0 ||
           sigismember(&mask, TThreadAlarm::Signal()) == 1;
}

timespec FromMicros(std::int64_t micros) {
    timespec t{};
    t.tv_sec = static_cast<time_t>(micros / 1000000);
    t.tv_nsec = static_cast<long>(micros % 1000000) * 1000;
    return t;
}

} // namespace

int TThreadAlarm::Signal() {
    return SIGRTMIN + 6;
}

TThreadAlarm::TThreadAlarm(std::int64_t timeoutMicros) {
    if (!HandlerInPlace() || BlockedInThisThread())
        return;
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = Signal();
    event._sigev_un._tid = ::gettid(); // sigev_notify_thread_id in newer C libraries
    if (::timer_create(CLOCK_MONOTONIC, &event, &Timer) != 0)
        return;
    itimerspec when{};
    // A zero first expiry would disarm the timer; one microsecond is "now".
    when.it_value = FromMicros(timeoutMicros > 0 ? timeoutMicros : 1);
    when.it_interval = FromMicros(1000);
    if (::timer_settime(Timer, 0, &when, nullptr) != 0) {
        ::timer_delete(Timer);
        return;
    }
    IsArmed = true;
}

TThreadAlarm::~TThreadAlarm() {
    // A signal still on its way meets the empty handler.
    if (IsArmed)
        ::timer_delete(Timer);
}
