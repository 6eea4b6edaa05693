#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

// kestrava-cli: frames any receiver command and decodes replies as the program would, for
// support engineers and scripts. Output goes to out, problems to err; the result is the exit
// status (0 success, 1 bad usage or arguments, 2 a command that cannot be built).
class CliApp {
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    static void printHelp(std::ostream& out);
};

} // namespace kestrava
