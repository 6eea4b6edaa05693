#pragma once

#include "emulator/Emulator.h"
#include "emulator/PtyTransport.h"
#include "emulator/SteadyClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace kestrava::test {

// The receiver emulator with its profile and faults, served on a pseudo-terminal of its own by a
// thread: the program under test opens devicePath() as the receiver's serial port.
class ServedEmulator {
public:
    explicit ServedEmulator(ReceiverProfile profile = {}, FaultPlan faults = {},
                            Emulator::Timing timing = {}) {
        std::string error;
        m_pty = PtyTransport::open(error);
        if (!m_pty) {
            ADD_FAILURE() << error;
            return;
        }
        m_emulator = std::make_unique<Emulator>(std::move(profile), m_clock, timing, faults);
        serve();
    }
    ~ServedEmulator() { stop(); }
    ServedEmulator(const ServedEmulator&) = delete;
    ServedEmulator& operator=(const ServedEmulator&) = delete;

    std::string devicePath() const { return m_pty ? m_pty->slavePath() : std::string(); }

    // Ends serving; afterwards the emulator's state may be read from the test's thread.
    const Emulator& stop() {
        m_stop.store(true);
        if (m_thread.joinable()) {
            m_thread.join();
        }
        return *m_emulator;
    }

    // Pauses serving while look() reads or changes the emulator, then serves on.
    void inspect(const std::function<void(Emulator&)>& look) {
        stop();
        look(*m_emulator);
        serve();
    }

private:
    void serve() {
        m_stop.store(false);
        m_thread = std::thread([this] { m_pty->serve(*m_emulator, m_clock, m_stop); });
    }

    SteadyClock m_clock;
    std::unique_ptr<PtyTransport> m_pty;
    std::unique_ptr<Emulator> m_emulator;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace kestrava::test
