#include "cli/ReceiverSession.h"

#include "cli/Interruption.h"
#include "exchange/CommandExchange.h"
#include "exchange/ProtocolTrace.h"
#include "exchange/QtReplyTimers.h"
#include "exchange/SerialExchangePort.h"
#include "exchange/TracingErrorReporter.h"
#include "exchange/TracingExchangePort.h"
#include "serial/CSerialPort.h"
#include "serial/PortErrorReporter.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace kestrava {
namespace {

class ConsoleReporter : public PortErrorReporter {
public:
    explicit ConsoleReporter(std::ostream& err) : m_err(err) {}
    void reportError(const QString& text, const QString& caption) override {
        m_err << caption.toStdString() << ": " << text.toStdString() << '\n';
    }

private:
    std::ostream& m_err;
};

constexpr int kReaderPollMs = 10;

} // namespace

struct ReceiverSession::Parts {
    Parts(std::ostream& err, ProtocolTrace* trace)
        : reporter(err),
          tracingReporter(trace != nullptr
                              ? std::make_unique<TracingErrorReporter>(*trace, &reporter)
                              : nullptr),
          serial(tracingReporter ? static_cast<PortErrorReporter*>(tracingReporter.get())
                                 : &reporter),
          port(serial),
          tracing(trace != nullptr ? std::make_unique<TracingExchangePort>(port, *trace)
                                   : nullptr) {}
    ExchangePort& exchangePort() { return tracing ? static_cast<ExchangePort&>(*tracing) : port; }
    ConsoleReporter reporter;
    std::unique_ptr<TracingErrorReporter> tracingReporter;
    CSerialPort serial;
    SerialExchangePort port;
    std::unique_ptr<TracingExchangePort> tracing;
    QtReplyTimers timers;
};

ReceiverSession::ReceiverSession(std::ostream& err, ProtocolTrace* trace)
    : m_parts(std::make_unique<Parts>(err, trace)) {
    m_exchange = std::make_unique<CommandExchange>(m_parts->exchangePort(), m_parts->timers, m_view,
                                                   m_settings);
    if (m_parts->tracing) {
        m_parts->tracing->attach(*m_exchange);
    }
}

ReceiverSession::~ReceiverSession() {
    // The exchange refers to the port and the port delivers to the exchange: stop the reader
    // first, then drop the exchange.
    close();
    m_exchange.reset();
    m_parts.reset();
}

ReceiverSession::OpenResult ReceiverSession::open(const QString& device, bool readMainInfo) {
    if (!readMainInfo) {
        if (!m_parts->exchangePort().open(device, CommandExchange::kNormalBaudRate)) {
            return OpenResult::OpenFail;
        }
        waitUntil([this] { return m_exchange->portOpen(); }, CommandExchange::kOpenWaitMs);
        return m_exchange->portOpen() ? OpenResult::Ok : OpenResult::OpenFail;
    }
    std::optional<bool> arrived;
    const QMetaObject::Connection connection =
        QObject::connect(m_exchange.get(), &CommandExchange::mainInfoChainEnded,
                         [&arrived](bool mainInfoArrived) { arrived = mainInfoArrived; });
    const bool opened = m_exchange->openPort(device);
    if (opened) {
        waitUntil([&arrived] { return arrived.has_value(); }, kChainLimitMs);
    }
    QObject::disconnect(connection);
    if (!opened) {
        return OpenResult::OpenFail;
    }
    return arrived.value_or(false) ? OpenResult::Ok : OpenResult::NoReply;
}

void ReceiverSession::close() {
    if (m_exchange && m_exchange->portOpen()) {
        // The port-closed notice is posted once the reader has closed the device; wait for it,
        // so the session ends with the port closed and every notice handled.
        m_view.portOpen.reset();
        m_exchange->closePort();
        settle([this] { return m_view.portOpen.has_value(); }, kCloseWaitMs);
    }
}

std::optional<int> ReceiverSession::request(const std::function<void()>& send,
                                            const std::vector<int>& kinds, int timeoutMs) {
    std::optional<int> value;
    if (Interruption::requested()) {
        return value;
    }
    bool timerFired = false;
    const QMetaObject::Connection replies = QObject::connect(
        m_exchange.get(), &CommandExchange::replyHandled, [&](int kind, int carried) {
            if (!value && std::find(kinds.begin(), kinds.end(), kind) != kinds.end()) {
                value = carried;
            }
        });
    const QMetaObject::Connection timers = QObject::connect(
        m_exchange.get(), &CommandExchange::timerExpired, [&](int) { timerFired = true; });
    send();
    waitUntil([&] { return value.has_value() || timerFired || !m_exchange->portOpen(); },
              timeoutMs);
    QObject::disconnect(replies);
    QObject::disconnect(timers);
    return value;
}

bool ReceiverSession::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    return wait(done, timeoutMs, true);
}

bool ReceiverSession::settle(const std::function<bool()>& done, int timeoutMs) {
    return wait(done, timeoutMs, false);
}

std::string ReceiverSession::silenceText() {
    return Interruption::requested() ? "Interrupted" : "No reply from receiver";
}

bool ReceiverSession::wait(const std::function<bool()>& done, int timeoutMs, bool interruptible) {
    const auto ended = [&] { return done() || (interruptible && Interruption::requested()); };
    if (ended()) {
        return done();
    }
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (ended()) {
            loop.quit();
        }
    });
    limit.start(timeoutMs);
    poll.start(kReaderPollMs);
    loop.exec();
    return done();
}

void ReceiverSession::pause(int ms) {
    waitUntil([] { return false; }, ms);
}

} // namespace kestrava
