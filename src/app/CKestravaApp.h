#pragma once

namespace kestrava {

// The application: reads the command line, starts the built-in emulator when asked, runs the
// main window as a modal dialog and ends when it returns.
class CKestravaApp {
public:
    static int run(int argc, char** argv);
};

} // namespace kestrava
