#pragma once

namespace kestrava {

// The reply timers of the exchange, by their fixed ids.
enum ReplyTimerId : int {
    TIMER_NONE = 0, // the command starts no timer of its own
    TIMER_FIRMWARE_START = 1,
    TIMER_RADIO = 2,
    TIMER_BOARD_INFO = 3,
    TIMER_MAIN_INFO = 4,
    TIMER_FIRMWARE_BLOCK = 5,
    // A command without a timer of its own: how long its reply may take before the silence is
    // reported (only when the exchange is given a wait, see CommandExchange::setReplyWait).
    TIMER_REPLY = 6,
};

} // namespace kestrava
