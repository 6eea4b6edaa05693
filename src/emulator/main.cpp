// kestrava-sim: the receiver emulator on a pseudo-terminal.
#include "emulator/Emulator.h"
#include "emulator/FrameLog.h"
#include "emulator/PtyTransport.h"
#include "emulator/SimAnnouncement.h"
#include "emulator/SimOptions.h"
#include "emulator/SteadyClock.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <system_error>
#include <thread>

namespace {

std::atomic<bool> g_stop{false};
std::atomic<bool> g_quit{false};
std::atomic<bool> g_replug{false};

extern "C" void onSignal(int) {
    g_quit.store(true);
    g_stop.store(true);
}

// SIGHUP: the cable is pulled, and plugged in again a moment later.
extern "C" void onHangup(int) {
    g_replug.store(true);
    g_stop.store(true);
}

// Points `link` at the terminal; an existing link is replaced, any other file is left alone.
bool makeLink(const std::string& link, const std::string& target, std::string& error) {
    std::error_code code;
    if (std::filesystem::is_symlink(link, code)) {
        std::filesystem::remove(link, code);
    } else if (std::filesystem::exists(link, code)) {
        error = link + " exists and is not a link";
        return false;
    }
    std::filesystem::create_symlink(target, link, code);
    if (code) {
        error = "cannot create the link " + link + ": " + code.message();
        return false;
    }
    return true;
}

void removeLink(const std::string& link) {
    std::error_code code;
    if (!link.empty() && std::filesystem::is_symlink(link, code)) {
        std::filesystem::remove(link, code);
    }
}

void installHandlers() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: the wait for input ends at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    struct sigaction hangup {};
    hangup.sa_handler = onHangup;
    sigemptyset(&hangup.sa_mask);
    hangup.sa_flags = 0;
    sigaction(SIGHUP, &hangup, nullptr);
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

    installHandlers();
    SteadyClock clock;
    Emulator emulator(options->profile, clock, options->timing, options->faults);
    emulator.setLog(log.get());

    // One terminal per plugging-in; the receiver behind it keeps its state across pulls.
    for (;;) {
        auto pty = PtyTransport::open(error);
        if (!pty) {
            std::cerr << "kestrava-sim: " << error << '\n';
            removeLink(options->linkPath);
            return 1;
        }
        if (!options->linkPath.empty() && !makeLink(options->linkPath, pty->slavePath(), error)) {
            std::cerr << "kestrava-sim: " << error << '\n';
            return 1;
        }
        // The window lists the terminal (and the link) among its ports while it is there; the
        // announcement stands before the path is printed.
        std::error_code absolute;
        SimAnnouncement::announce(
            {pty->slavePath(),
             options->linkPath.empty()
                 ? std::string()
                 : std::filesystem::absolute(options->linkPath, absolute).string(),
             0});
        std::cout << pty->slavePath() << std::endl;
        pty->serve(emulator, clock, g_stop);
        SimAnnouncement::withdraw();
        if (!g_replug.exchange(false) || g_quit.load()) {
            break;
        }
        removeLink(options->linkPath);
        pty.reset(); // the terminal closes: an open host sees its device hang up
        std::this_thread::sleep_for(std::chrono::seconds(2));
        if (g_quit.load()) {
            break;
        }
        g_stop.store(false);
    }
    removeLink(options->linkPath);
    SimAnnouncement::withdraw();
    return 0;
}
