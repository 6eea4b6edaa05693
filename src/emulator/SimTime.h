#pragma once

#include <chrono>

namespace kestrava {

// Time as the emulator sees it: microseconds since an arbitrary epoch of its clock.
using SimTime = std::chrono::microseconds;

} // namespace kestrava
