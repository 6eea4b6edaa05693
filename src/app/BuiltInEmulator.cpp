#include "app/BuiltInEmulator.h"

#include "emulator/Emulator.h"
#include "emulator/FrameLog.h"
#include "emulator/SteadyClock.h"
#ifdef Q_OS_WIN
#include "app/EmulatorExchangePort.h"
#include "emulator/InProcessLine.h"
#else
#include "emulator/PtyTransport.h"
#endif

#include <iostream>
#include <string>

namespace kestrava {

namespace {

#ifdef Q_OS_WIN
const QString kInProcessName = QStringLiteral("Emulator");
#endif

} // namespace

BuiltInEmulator::BuiltInEmulator() = default;

BuiltInEmulator::~BuiltInEmulator() {
#ifdef Q_OS_WIN
    m_port.reset(); // its reader reads the line
#endif
    pause();
}

void BuiltInEmulator::stop() {
    pause();
}

void BuiltInEmulator::serve() {
    m_stop = false;
#ifdef Q_OS_WIN
    m_thread = std::thread([this] { m_line->serve(*m_emulator, *m_clock, m_stop); });
#else
    m_thread = std::thread([this] { m_transport->serve(*m_emulator, *m_clock, m_stop); });
#endif
}

void BuiltInEmulator::pause() {
    m_stop = true;
#ifdef Q_OS_WIN
    if (m_line) {
        m_line->wakeServer();
    }
#endif
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
#ifdef Q_OS_WIN
    m_line = std::make_unique<InProcessLine>();
    m_port = std::make_unique<EmulatorExchangePort>(*m_line, kInProcessName);
#else
    std::string reason;
    m_transport = PtyTransport::open(reason);
    if (!m_transport) {
        error = QString::fromStdString(reason);
        return false;
    }
#endif
    m_clock = std::make_unique<SteadyClock>();
    m_emulator =
        std::make_unique<Emulator>(options.profile, *m_clock, options.timing, options.faults);
    m_emulator->setLog(m_log.get());
    serve();
    return true;
}

#ifdef Q_OS_WIN
QString BuiltInEmulator::devicePath() const {
    return m_line ? kInProcessName : QString();
}

ExchangePort* BuiltInEmulator::exchangePort() const {
    return m_port.get();
}
#else
QString BuiltInEmulator::devicePath() const {
    return m_transport ? QString::fromStdString(m_transport->slavePath()) : QString();
}

ExchangePort* BuiltInEmulator::exchangePort() const {
    return nullptr;
}
#endif

} // namespace kestrava
