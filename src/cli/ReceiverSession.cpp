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

#include <optional>
#include <utility>

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

RequestOutcome ReceiverSession::request(CommandId command, const RequestArguments& arguments,
                                        const RequestDone& take, int timeoutMs) {
    return await(
        [&](RequestDone onDone) { m_exchange->request(command, arguments, std::move(onDone)); },
        take, timeoutMs);
}

RequestOutcome ReceiverSession::request(RequestChain chain, const RequestArguments& arguments,
                                        const RequestDone& take, int timeoutMs) {
    return await(
        [&](RequestDone onDone) { m_exchange->request(chain, arguments, std::move(onDone)); }, take,
        timeoutMs);
}

RequestOutcome ReceiverSession::await(const std::function<void(RequestDone)>& ask,
                                      const RequestDone& take, int timeoutMs) {
    if (Interruption::requested()) {
        return {};
    }
    // The exchange keeps the callback until the outcome comes, which may be after this wait has
    // given up: what it reaches must outlive the wait, and take only runs while it lasts.
    struct Pending {
        const RequestDone* take = nullptr;
        std::optional<RequestOutcome> outcome;
    };
    const auto pending = std::make_shared<Pending>();
    pending->take = &take;
    ask([pending](const RequestOutcome& outcome) {
        if (pending->take == nullptr) {
            return;
        }
        if (*pending->take) {
            (*pending->take)(outcome);
        }
        pending->outcome = outcome;
        pending->outcome->reply.reset();
    });
    waitUntil([&] { return pending->outcome.has_value() || !m_exchange->portOpen(); }, timeoutMs);
    pending->take = nullptr;
    if (pending->outcome) {
        return std::move(*pending->outcome);
    }
    RequestOutcome silent;
    silent.result =
        m_exchange->portOpen() ? RequestOutcome::Result::NoReply : RequestOutcome::Result::PortLost;
    return silent;
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
