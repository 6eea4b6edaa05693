#pragma once

#include <ostream>

namespace kestrava {

// Whether the tool talks to a person: progress lines and questions only then.
class TerminalCheck {
public:
    // True when stream is the process's standard error and that is a terminal.
    static bool isTerminal(const std::ostream& stream);
    // True when standard input is a terminal.
    static bool inputIsTerminal();
};

} // namespace kestrava
