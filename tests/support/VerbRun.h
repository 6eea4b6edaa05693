#pragma once

#include "cli/PortVerbs.h"

#include <sstream>
#include <string>
#include <vector>

namespace kestrava::test {

// What one kestrava-cli verb on a receiver did: its exit status and what it wrote.
struct VerbRun {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs kestrava-cli --port device VERB ARGS... in this process.
inline VerbRun runVerb(const std::string& device, const std::vector<std::string>& verb) {
    std::ostringstream out;
    std::ostringstream err;
    VerbRun r;
    r.status = PortVerbs::run(device, verb, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace kestrava::test
