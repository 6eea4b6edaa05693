#pragma once

#include "exchange/ReplyTimers.h"

#include <map>

namespace kestrava::test {

// Reply timers on a clock that moves only when the test moves it. A running timer fires every
// interval, like the program's timers; advance() delivers every expiry that falls within the span
// in time order, so a ten-second retry chain runs in an instant.
class ManualReplyTimers : public ReplyTimers {
public:
    void setHandler(Handler handler) override { m_handler = std::move(handler); }

    void start(int timerId, int milliseconds) override {
        Slot& slot = m_slots[timerId];
        slot.running = true;
        slot.interval = milliseconds;
        slot.due = m_now + milliseconds;
        ++slot.generation;
        ++slot.starts;
    }

    void stop(int timerId) override {
        Slot& slot = m_slots[timerId];
        slot.running = false;
        ++slot.generation;
    }

    bool isRunning(int timerId) const override {
        const auto it = m_slots.find(timerId);
        return it != m_slots.end() && it->second.running;
    }

    // How often the timer was armed.
    int starts(int timerId) const {
        const auto it = m_slots.find(timerId);
        return it == m_slots.end() ? 0 : it->second.starts;
    }

    void advance(long long milliseconds) {
        const long long end = m_now + milliseconds;
        while (true) {
            int next = 0;
            long long due = 0;
            for (const auto& [id, slot] : m_slots) {
                if (slot.running && slot.due <= end && (next == 0 || slot.due < due)) {
                    next = id;
                    due = slot.due;
                }
            }
            if (next == 0) {
                break;
            }
            m_now = due;
            const unsigned generation = m_slots[next].generation;
            if (m_handler) {
                m_handler(next);
            }
            Slot& slot = m_slots[next];
            if (slot.running && slot.generation == generation) {
                slot.due += slot.interval > 0 ? slot.interval : 1;
            }
        }
        m_now = end;
    }

    long long now() const { return m_now; }

private:
    struct Slot {
        bool running = false;
        int interval = 0;
        long long due = 0;
        unsigned generation = 0;
        int starts = 0;
    };

    Handler m_handler;
    std::map<int, Slot> m_slots;
    long long m_now = 0;
};

} // namespace kestrava::test
