#pragma once

#include "protocol/ReplyTimerId.h"

#include <functional>

namespace kestrava {

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
