#include "app/BuiltInEmulator.h"

#include "emulator/Emulator.h"
#include "emulator/PtyTransport.h"
#include "emulator/SteadyClock.h"

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
    std::string reason;
    m_transport = PtyTransport::open(reason);
    if (!m_transport) {
        error = QString::fromStdString(reason);
        return false;
    }
    m_clock = std::make_unique<SteadyClock>();
    m_emulator = std::make_unique<Emulator>(std::move(profile), *m_clock);
    serve();
    return true;
}

QString BuiltInEmulator::devicePath() const {
    return m_transport ? QString::fromStdString(m_transport->slavePath()) : QString();
}

} // namespace kestrava
