#pragma once

#include "cli/CliApp.h"
#include "cli/PortVerbs.h"

#include <sstream>
#include <string>
#include <vector>

namespace kestrava::test {

// What one kestrava-cli run did: its exit status and what it wrote.
struct VerbRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Calls run(out, err) and keeps what it wrote to either stream.
template <typename Run>
VerbRun captureRun(Run&& run) {
    std::ostringstream out;
    std::ostringstream err;
    VerbRun r;
    r.status = run(out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// kestrava-cli --port device VERB ARGS... in this process; with a trace file, --trace FILE too.
inline VerbRun runVerb(const std::string& device, const std::vector<std::string>& verb,
                       const std::string& traceFile = {}) {
    return captureRun([&](std::ostream& out, std::ostream& err) {
        return PortVerbs::run(device, verb, out, err, traceFile);
    });
}

// kestrava-cli ARGS... without a port, in this process.
inline VerbRun runCli(const std::vector<std::string>& args) {
    return captureRun(
        [&](std::ostream& out, std::ostream& err) { return CliApp::run(args, out, err); });
}

} // namespace kestrava::test
