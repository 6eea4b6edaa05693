#include "ntrip/CasterSession.h"

#include <QMetaType>

namespace kestrava {
namespace {
// An answer header longer than this is no caster's.
constexpr std::size_t kMaxHeader = 16 * 1024;
// A sourcetable longer than this is cut there.
constexpr std::size_t kMaxTable = 4 * 1024 * 1024;
} // namespace

CasterSession::CasterSession(QObject* parent) : QObject(parent), m_socket(this), m_timer(this) {
    qRegisterMetaType<kestrava::CasterOutcome>();
    m_timer.setSingleShot(true);
    connect(&m_socket, &QTcpSocket::connected, this, &CasterSession::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &CasterSession::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &CasterSession::onSocketError);
    connect(&m_socket, &QTcpSocket::disconnected, this, &CasterSession::onDisconnected);
    connect(&m_timer, &QTimer::timeout, this, &CasterSession::onTimeout);
}

CasterSession::~CasterSession() {
    m_running = false;
    m_socket.abort();
}

void CasterSession::start(const NtripRequest& request, const Limits& limits) {
    if (m_running) {
        return;
    }
    m_request = request;
    m_limits = limits;
    m_running = true;
    m_connected = false;
    m_received.clear();
    m_headerDone = false;
    m_reply = {};
    m_chunks = {};
    m_body.clear();
    m_outcome = {};
    m_framer = std::make_unique<Rtcm3Framer>([this](const std::uint8_t* payload, std::size_t size) {
        const int number = Rtcm3Framer::messageNumber(payload, size);
        ++m_outcome.messages[number];
        if (number == 1005 || number == 1006) {
            if (auto station = StationPosition::decode(payload, size)) {
                m_outcome.station = station;
            }
        }
    });
    m_timer.start(m_limits.connectMs);
    m_socket.connectToHost(QString::fromStdString(request.host),
                           static_cast<quint16>(request.port));
}

void CasterSession::cancel() {
    if (m_running) {
        finishWith(CasterOutcome::Result::Cancelled);
    }
}

void CasterSession::onConnected() {
    if (!m_running) {
        return;
    }
    m_connected = true;
    const std::string request = m_request.bytes();
    m_socket.write(request.data(), static_cast<qint64>(request.size()));
    m_timer.start(m_limits.answerMs);
}

void CasterSession::onReadyRead() {
    while (m_running && m_socket.bytesAvailable() > 0) {
        readAnswer(m_socket.read(64 * 1024));
    }
}

void CasterSession::readAnswer(const QByteArray& data) {
    if (m_headerDone) {
        handleBody(data.constData(), static_cast<std::size_t>(data.size()));
        return;
    }
    m_received.append(data.constData(), static_cast<std::size_t>(data.size()));
    const std::optional<std::size_t> end = CasterReply::headerEnd(m_received);
    if (!end) {
        if (m_received.size() > kMaxHeader) {
            finishWith(CasterOutcome::Result::BadReply, "no NTRIP answer");
        }
        return;
    }
    m_headerDone = true;
    m_reply = CasterReply::parse(std::string_view(m_received).substr(0, *end));
    const std::string rest = m_received.substr(*end);
    m_received.clear();
    const bool mount = !m_request.mountPoint.empty();
    switch (m_reply.kind) {
    case CasterReply::Kind::Unauthorized:
        finishWith(CasterOutcome::Result::Refused, m_reply.statusLine);
        return;
    case CasterReply::Kind::NotFound:
        finishWith(mount ? CasterOutcome::Result::UnknownMount : CasterOutcome::Result::BadReply,
                   m_reply.statusLine);
        return;
    case CasterReply::Kind::Other:
        finishWith(CasterOutcome::Result::BadReply, m_reply.statusLine);
        return;
    case CasterReply::Kind::Stream:
        if (!mount) {
            finishWith(CasterOutcome::Result::BadReply, m_reply.statusLine);
            return;
        }
        m_listening.start();
        m_timer.start(m_limits.listenMs);
        break;
    case CasterReply::Kind::Sourcetable:
        m_timer.start(m_limits.answerMs);
        break;
    }
    handleBody(rest.data(), rest.size());
}

void CasterSession::handleBody(const char* bytes, std::size_t count) {
    if (!m_running || count == 0) {
        return;
    }
    std::string decoded;
    const char* data = bytes;
    std::size_t size = count;
    if (m_reply.chunked) {
        m_chunks.feed(reinterpret_cast<const std::uint8_t*>(bytes), count, decoded);
        data = decoded.data();
        size = decoded.size();
    }
    if (m_reply.kind == CasterReply::Kind::Stream) {
        m_outcome.bytes += size;
        m_framer->feed(reinterpret_cast<const std::uint8_t*>(data), size);
        emit progress(static_cast<qint64>(m_outcome.bytes));
        if (m_chunks.finished() || m_chunks.broken()) {
            finishBody();
        }
        return;
    }
    m_body.append(data, std::min(size, kMaxTable - std::min(kMaxTable, m_body.size())));
    m_timer.start(m_limits.answerMs);
    const bool ended =
        m_body.find("ENDSOURCETABLE") != std::string::npos ||
        (m_reply.contentLength && !m_reply.chunked && m_body.size() >= *m_reply.contentLength) ||
        m_chunks.finished() || m_chunks.broken() || m_body.size() >= kMaxTable;
    if (ended) {
        finishBody();
    }
}

void CasterSession::finishBody() {
    if (!m_running) {
        return;
    }
    if (m_reply.kind == CasterReply::Kind::Stream) {
        m_outcome.seconds = static_cast<double>(m_listening.elapsed()) / 1000.0;
        m_outcome.badFrames = m_framer->badFrames();
        finishWith(CasterOutcome::Result::Accepted, m_reply.statusLine);
        return;
    }
    m_outcome.table = Sourcetable::parse(m_body);
    finishWith(m_request.mountPoint.empty() ? CasterOutcome::Result::Sourcetable
                                            : CasterOutcome::Result::UnknownMount,
               m_reply.statusLine);
}

void CasterSession::onSocketError() {
    if (!m_running) {
        return;
    }
    if (m_socket.error() == QAbstractSocket::RemoteHostClosedError) {
        onDisconnected();
        return;
    }
    if (!m_connected) {
        finishWith(CasterOutcome::Result::Unreachable, m_socket.errorString().toStdString());
    } else if (m_headerDone) {
        finishBody();
    } else {
        finishWith(CasterOutcome::Result::BadReply, m_socket.errorString().toStdString());
    }
}

void CasterSession::onDisconnected() {
    if (!m_running) {
        return;
    }
    if (!m_headerDone && m_connected && m_received.find('\n') != std::string::npos) {
        // Some casters send their refusal's status line alone and close: what came is the
        // whole header.
        m_received += "\r\n\r\n";
        readAnswer({});
        if (!m_running) {
            return;
        }
    }
    if (m_headerDone) {
        finishBody();
    } else if (m_connected) {
        finishWith(CasterOutcome::Result::BadReply, "the caster closed the connection unanswered");
    } else {
        finishWith(CasterOutcome::Result::Unreachable, m_socket.errorString().toStdString());
    }
}

void CasterSession::onTimeout() {
    if (!m_running) {
        return;
    }
    if (m_headerDone) {
        if (m_reply.kind == CasterReply::Kind::Stream) {
            finishBody();
        } else {
            finishWith(CasterOutcome::Result::TimedOut, "the sourcetable stopped coming");
        }
    } else if (m_connected) {
        finishWith(CasterOutcome::Result::TimedOut, "no answer from the caster");
    } else {
        finishWith(CasterOutcome::Result::TimedOut, "no connection to the caster");
    }
}

void CasterSession::finishWith(CasterOutcome::Result result, const std::string& detail) {
    m_running = false;
    m_timer.stop();
    m_socket.abort();
    m_outcome.result = result;
    m_outcome.detail = detail;
    emit finished(m_outcome);
}

} // namespace kestrava
