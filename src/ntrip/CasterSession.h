#pragma once

#include "ntrip/CasterOutcome.h"
#include "ntrip/CasterReply.h"
#include "ntrip/ChunkedBody.h"
#include "ntrip/NtripRequest.h"
#include "ntrip/Rtcm3Framer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <string>

namespace kestrava {

// One conversation with a caster over TCP: the sourcetable, or a login to a mount point followed
// by listening to its stream for a while. Every wait is bounded (connection, answer, body) and
// the conversation can be cancelled at any time; it ends with exactly one finished().
// It works on the thread it lives on, from that thread's event loop.
class CasterSession : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int connectMs = 5000; // until the connection stands
        int answerMs = 5000;  // until the caster's answer begins, and between its pieces
        int listenMs = 5000;  // how long an accepted stream is listened to
    };

    explicit CasterSession(QObject* parent = nullptr);
    ~CasterSession() override;

    // Starts the conversation the request describes: the sourcetable when it names no mount
    // point, else a login to it. Ignored while one runs.
    void start(const NtripRequest& request, const Limits& limits);
    bool running() const { return m_running; }

public slots:
    void cancel();

signals:
    void finished(const kestrava::CasterOutcome& outcome);
    // While listening: bytes of stream received so far.
    void progress(qint64 bytes);

private:
    void onConnected();
    void onReadyRead();
    void readAnswer(const QByteArray& data);
    void onSocketError();
    void onDisconnected();
    void onTimeout();
    void handleBody(const char* bytes, std::size_t count);
    void finishWith(CasterOutcome::Result result, const std::string& detail = {});
    void finishBody();

    QTcpSocket m_socket;
    QTimer m_timer;
    QElapsedTimer m_listening;
    NtripRequest m_request;
    Limits m_limits;
    bool m_running = false;
    bool m_connected = false;
    std::string m_received; // the answer until its header is whole
    bool m_headerDone = false;
    CasterReply m_reply;
    ChunkedBody m_chunks;
    std::string m_body; // a sourcetable's text
    std::unique_ptr<Rtcm3Framer> m_framer;
    CasterOutcome m_outcome;
};

} // namespace kestrava
