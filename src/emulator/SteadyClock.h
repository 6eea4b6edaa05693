#pragma once

#include "emulator/EmulatorClock.h"

#include <chrono>

namespace kestrava {

// The monotonic system clock, counted from the moment this object was made.
class SteadyClock : public EmulatorClock {
public:
    SimTime now() const override {
        return std::chrono::duration_cast<SimTime>(std::chrono::steady_clock::now() - m_start);
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace kestrava
