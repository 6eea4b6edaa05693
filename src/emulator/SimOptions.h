#pragma once

#include "emulator/Emulator.h"
#include "emulator/FaultPlan.h"
#include "emulator/ReceiverProfile.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrava {

// The command line of kestrava-sim: profile, files, timing, faults and the frame log.
struct SimOptions {
    ReceiverProfile profile;
    Emulator::Timing timing;
    FaultPlan faults;
    std::string logPath;  // empty: no log; "-": standard error
    std::string linkPath; // empty: no link to the terminal
    bool help = false;

    // Parses the arguments after the program name; nothing, with the reason in error, when an
    // option is unknown or its value is out of range. "--name value" and "--name=value" both work.
    static std::optional<SimOptions> parse(const std::vector<std::string>& args,
                                           std::string& error);
    static std::string usage();
};

} // namespace kestrava
