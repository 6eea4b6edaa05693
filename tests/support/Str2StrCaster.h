#pragma once

#include "ntrip/Rtcm3Framer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrava::test {

// Runs the event loop until done() holds or milliseconds have passed; returns done().
inline bool pumpUntil(const std::function<bool()>& done, int milliseconds = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// RTCM 3 frames around each payload, one after the other, as a base sends them.
inline std::vector<std::uint8_t>
rtcmFrames(const std::vector<std::vector<std::uint8_t>>& payloads) {
    std::vector<std::uint8_t> bytes;
    for (const auto& payload : payloads) {
        const auto frame = Rtcm3Framer::frame(payload);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

// A real NTRIP caster on loopback: str2str (from rtklib) serving one mount point with a login,
// fed with the frames the test gives it, again and again, every interval.
class Str2StrCaster {
public:
    Str2StrCaster(const std::string& user, const std::string& password, const std::string& mount,
                  const std::string& strLine, std::vector<std::uint8_t> frames,
                  int intervalMs = 100)
        : m_frames(std::move(frames)) {
#ifdef _WIN32
        return; // a Linux program: the tests that use it skip on Windows
#endif
        const QString program = QStandardPaths::findExecutable(QStringLiteral("str2str"));
        if (program.isEmpty()) {
            ADD_FAILURE() << "str2str not found: install rtklib (./scripts/deps.sh does)";
            return;
        }
        m_port = freePort();
        const QString out =
            QStringLiteral("ntripc://%1:%2@:%3/%4:%5")
                .arg(QString::fromStdString(user), QString::fromStdString(password))
                .arg(m_port)
                .arg(QString::fromStdString(mount), QString::fromStdString(strLine));
        m_process.setProgram(program);
        m_process.setArguments({QStringLiteral("-out"), out});
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) {
            ADD_FAILURE() << "str2str did not start";
            return;
        }
        QObject::connect(&m_feed, &QTimer::timeout, [this] {
            if (m_process.state() == QProcess::Running && !m_frames.empty()) {
                m_process.write(reinterpret_cast<const char*>(m_frames.data()),
                                static_cast<qint64>(m_frames.size()));
            }
        });
        m_feed.start(intervalMs);
        const bool listening = pumpUntil(
            [this] {
                QTcpSocket probe;
                probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
                return probe.waitForConnected(200);
            },
            10000);
        if (!listening) {
            ADD_FAILURE() << "str2str does not listen on " << m_port << ": "
                          << m_process.readAll().toStdString();
        }
    }
    ~Str2StrCaster() {
        m_feed.stop();
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000)) {
                m_process.kill();
                m_process.waitForFinished(3000);
            }
        }
    }
    Str2StrCaster(const Str2StrCaster&) = delete;
    Str2StrCaster& operator=(const Str2StrCaster&) = delete;

    quint16 port() const { return m_port; }

    // A port nobody listens on now.
    static quint16 freePort() {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        return server.serverPort();
    }

private:
    QProcess m_process;
    QTimer m_feed;
    std::vector<std::uint8_t> m_frames;
    quint16 m_port = 0;
};

} // namespace kestrava::test
