#pragma once

#include "emulator/EmulatorClock.h"

namespace kestrava {

// A clock that stands still until advanced: every timing of the emulator becomes deterministic.
class ManualClock : public EmulatorClock {
public:
    SimTime now() const override { return m_now; }
    void advance(SimTime by) { m_now += by; }
    void set(SimTime to) { m_now = to; }

private:
    SimTime m_now{0};
};

} // namespace kestrava
