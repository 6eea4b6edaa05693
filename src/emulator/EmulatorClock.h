#pragma once

#include "emulator/SimTime.h"

namespace kestrava {

// The emulator's source of time. Injected so that in-memory tests run on a clock that only moves
// when the test moves it, and the pseudo-terminal server runs on the real monotonic clock.
class EmulatorClock {
public:
    virtual ~EmulatorClock() = default;
    virtual SimTime now() const = 0;
};

} // namespace kestrava
