#pragma once

#include <functional>

namespace kestrava {

// The reply timers of the exchange, by their fixed ids.
enum ReplyTimerId : int {
    TIMER_FIRMWARE_START = 1,
    TIMER_RADIO = 2,
    TIMER_BOARD_INFO = 3,
    TIMER_MAIN_INFO = 4,
    TIMER_FIRMWARE_BLOCK = 5,
    // A command without a timer of its own: how long its reply may take before the silence is
    // reported (only when the exchange is given a wait, see CommandExchange::setReplyWait).
    TIMER_REPLY = 6,
};

// Reply timers behind an interface, so that the exchange runs on Qt's
// timers in the program and on a manual clock in tests (a 10-second chain in microseconds).
// A running timer fires every interval until stopped, like a window timer; arming a running
// timer restarts it with the new interval. Expiries are delivered to the handler on the
// exchange's thread.
class ReplyTimers {
public:
    using Handler = std::function<void(int timerId)>;

    virtual ~ReplyTimers() = default;
    virtual void setHandler(Handler handler) = 0;
    virtual void start(int timerId, int milliseconds) = 0;
    virtual void stop(int timerId) = 0;
    virtual bool isRunning(int timerId) const = 0;
};

} // namespace kestrava
