#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

// One verb on many receivers at once, for a commissioning station: each port gets its own
// session on a thread of its own, its lines prefixed by the port; then a summary table on
// standard output (port, serial number, version, motherboard, result, keys set / unchanged /
// failed, seconds) and, with a report file, the same rows appended to it as CSV.
class FleetRun {
public:
    struct Options {
        std::vector<std::string> ports;
        std::vector<std::string> verbAndArgs;
        std::string reportPath; // CSV; empty for none
        std::string outputDir;  // get: one profile per receiver in it
    };

    // The verbs that may run on several ports.
    static bool allows(const std::vector<std::string>& verbAndArgs);

    // Exit 0 only when every port succeeded, otherwise the highest of their statuses. Needs a
    // Qt core application object.
    static int run(const Options& options, std::ostream& out, std::ostream& err);

    // The devices named in a file, one a line (blank lines and lines starting with '#' skipped).
    static bool readPorts(const std::string& path, std::vector<std::string>& ports,
                          std::string& error);

    // One field of a CSV row (RFC 4180): quoted when it holds a comma, a quote or a line end.
    static std::string csvField(const std::string& text);
};

} // namespace kestrava
