#include "app/BuiltInEmulator.h"

#include "emulator/Emulator.h"
#include "emulator/FrameLog.h"
#include "emulator/PtyTransport.h"
#include "emulator/SteadyClock.h"

#include <iostream>
#include <string>

namespace kestrava {

BuiltInEmulator::BuiltInEmulator() = default;

BuiltInEmulator::~BuiltInEmulator() {
    pause();
}

void BuiltInEmulator::stop() {
    pause();
}

void BuiltInEmulator::serve() {
    m_stop = false;
    m_thread = std::thread([this] { m_transport->serve(*m_emulator, *m_clock, m_stop); });
}

void BuiltInEmulator::pause() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void BuiltInEmulator::inspect(const std::function<void(Emulator&)>& look) {
    if (!m_emulator) {
        return;
    }
    pause();
    look(*m_emulator);
    serve();
}

bool BuiltInEmulator::start(QString& error, ReceiverProfile profile) {
    SimOptions options;
    options.profile = std::move(profile);
    return start(error, options);
}

bool BuiltInEmulator::start(QString& error, const SimOptions& options) {
    if (options.logPath == "-") {
        m_log = std::make_unique<FrameLog>(std::cerr);
    } else if (!options.logPath.empty()) {
        m_logFile.open(options.logPath, std::ios::out | std::ios::trunc);
        if (!m_logFile) {
            error = QStringLiteral("cannot write %1").arg(QString::fromStdString(options.logPath));
            return false;
        }
        m_log = std::make_unique<FrameLog>(m_logFile);
    }
    std::string reason;
    m_transport = PtyTransport::open(reason);
    if (!m_transport) {
        error = QString::fromStdString(reason);
        return false;
    }
    m_clock = std::make_unique<SteadyClock>();
    m_emulator =
        std::make_unique<Emulator>(options.profile, *m_clock, options.timing, options.faults);
    m_emulator->setLog(m_log.get());
    serve();
    return true;
}

QString BuiltInEmulator::devicePath() const {
    return m_transport ? QString::fromStdString(m_transport->slavePath()) : QString();
}

} // namespace kestrava
