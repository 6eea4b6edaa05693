// kestrava-sim: the receiver emulator on a pseudo-terminal.
#include "emulator/Emulator.h"
#include "emulator/FrameLog.h"
#include "emulator/PtyTransport.h"
#include "emulator/SimOptions.h"
#include "emulator/SteadyClock.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>

namespace {

std::atomic<bool> g_stop{false};

extern "C" void onSignal(int) {
    g_stop.store(true);
}

void installHandlers() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: the wait for input ends at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    using namespace kestrava;
    std::string error;
    const auto options = SimOptions::parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "kestrava-sim: " << error << "\n(see kestrava-sim --help)\n";
        return 2;
    }
    if (options->help) {
        std::cout << SimOptions::usage();
        return 0;
    }

    std::ofstream logFile;
    std::unique_ptr<FrameLog> log;
    if (options->logPath == "-") {
        log = std::make_unique<FrameLog>(std::cerr);
    } else if (!options->logPath.empty()) {
        logFile.open(options->logPath, std::ios::out | std::ios::trunc);
        if (!logFile) {
            std::cerr << "kestrava-sim: cannot write " << options->logPath << '\n';
            return 1;
        }
        log = std::make_unique<FrameLog>(logFile);
    }

    auto pty = PtyTransport::open(error);
    if (!pty) {
        std::cerr << "kestrava-sim: " << error << '\n';
        return 1;
    }
    installHandlers();

    SteadyClock clock;
    Emulator emulator(options->profile, clock, options->timing, options->faults);
    emulator.setLog(log.get());

    std::cout << pty->slavePath() << std::endl;
    pty->serve(emulator, clock, g_stop);
    return 0;
}
