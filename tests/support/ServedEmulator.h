#pragma once

#include "emulator/Emulator.h"
#include "emulator/PtyTransport.h"
#include "emulator/SteadyClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace kestrava::test {

// The receiver emulator served on its own pseudo-terminal by a thread, for tests that open its
// device as the receiver's serial port (the command-line verbs, the window).
class ServedEmulator {
public:
    explicit ServedEmulator(ReceiverProfile profile = {}, FaultPlan faults = {}) {
        std::string error;
        m_pty = PtyTransport::open(error);
        if (!m_pty) {
            ADD_FAILURE() << error;
            return;
        }
        emulator =
            std::make_unique<Emulator>(std::move(profile), m_clock, Emulator::Timing{}, faults);
        m_thread = std::thread([this] { m_pty->serve(*emulator, m_clock, m_stop); });
    }
    ~ServedEmulator() { stop(); }
    ServedEmulator(const ServedEmulator&) = delete;
    ServedEmulator& operator=(const ServedEmulator&) = delete;

    std::string device() const { return m_pty ? m_pty->slavePath() : std::string(); }

    // Ends serving; afterwards the emulator may be inspected from the test's thread.
    void stop() {
        m_stop.store(true);
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    std::unique_ptr<Emulator> emulator;

private:
    SteadyClock m_clock;
    std::unique_ptr<PtyTransport> m_pty;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace kestrava::test
