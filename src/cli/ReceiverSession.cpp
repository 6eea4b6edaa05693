#include "cli/ReceiverSession.h"

#include "exchange/CommandExchange.h"
#include "exchange/QtReplyTimers.h"
#include "exchange/SerialExchangePort.h"
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
    explicit Parts(std::ostream& err) : reporter(err), serial(&reporter), port(serial) {}
    ConsoleReporter reporter;
    CSerialPort serial;
    SerialExchangePort port;
    QtReplyTimers timers;
};

ReceiverSession::ReceiverSession(std::ostream& err) : m_parts(std::make_unique<Parts>(err)) {
    m_exchange =
        std::make_unique<CommandExchange>(m_parts->port, m_parts->timers, m_view, m_settings);
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
        if (!m_parts->port.open(device, CommandExchange::kNormalBaudRate)) {
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
        m_exchange->closePort();
    }
}

std::optional<int> ReceiverSession::request(const std::function<void()>& send,
                                            const std::vector<int>& kinds, int timeoutMs) {
    std::optional<int> value;
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
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
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
