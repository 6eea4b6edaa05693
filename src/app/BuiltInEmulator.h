#pragma once

#include "emulator/ReceiverProfile.h"
#include "emulator/SimOptions.h"

#include <QString>

#include <atomic>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

namespace kestrava {

class Emulator;
class EmulatorExchangePort;
class ExchangePort;
class FrameLog;
class InProcessLine;
class PtyTransport;
class SteadyClock;

// The receiver emulator inside the program, served by a background thread until the program
// ends: a newcomer can press Open without a receiver. On a pseudo-terminal of its own where the
// system has them; on Windows on a line inside the process, which the window opens through
// exchangePort().
class BuiltInEmulator {
public:
    BuiltInEmulator();
    ~BuiltInEmulator();
    BuiltInEmulator(const BuiltInEmulator&) = delete;
    BuiltInEmulator& operator=(const BuiltInEmulator&) = delete;

    // Starts it; false with the reason in error when no pseudo-terminal could be made.
    bool start(QString& error, ReceiverProfile profile = {});
    // Starts it with kestrava-sim's options: profile, files, timing, faults and the frame log
    // (its link is not offered); false with the reason in error.
    bool start(QString& error, const SimOptions& options);
    // The device to open, such as /dev/pts/5; on Windows the name the port list shows for it.
    QString devicePath() const;
    // The port that opens the in-process line (Windows); null where the emulator has a device.
    ExchangePort* exchangePort() const;
    // Ends serving; the device stays but nothing answers any more. Afterwards the emulator's state
    // may be read from this thread (it is never touched while it is being served).
    void stop();
    // The receiver being played; null before start().
    const Emulator* emulator() const { return m_emulator.get(); }

    // Runs look with the emulator while it serves no bytes (serving pauses and then goes on), so
    // its state can be read or its faults and log changed from another thread. Bytes the host
    // sends meanwhile wait on the line.
    void inspect(const std::function<void(Emulator&)>& look);

private:
    void serve();
    void pause();

    std::ofstream m_logFile;
    std::unique_ptr<FrameLog> m_log;
    std::unique_ptr<SteadyClock> m_clock;
    std::unique_ptr<Emulator> m_emulator;
#ifdef Q_OS_WIN
    std::unique_ptr<InProcessLine> m_line;
    std::unique_ptr<EmulatorExchangePort> m_port;
#else
    std::unique_ptr<PtyTransport> m_transport;
#endif
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace kestrava
