// The exchange core on the real serial port, talking to the receiver emulator on a
// pseudo-terminal, with the program's own timers.
#include "emulator/Emulator.h"
#include "emulator/PtyTransport.h"
#include "emulator/SteadyClock.h"
#include "exchange/CommandExchange.h"
#include "exchange/QtReplyTimers.h"
#include "exchange/RecordingView.h"
#include "exchange/SerialExchangePort.h"
#include "serial/CSerialPort.h"
#include "settings/StoredSettings.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace kestrava::test {
namespace {

// Runs the event loop until done() holds or the guard runs out (a hang, not a timing check).
bool runUntil(const std::function<bool()>& done, int guardMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < guardMs) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

class SerialExchange : public ::testing::Test {
protected:
    void start(ReceiverProfile profile = {}) {
        std::string error;
        m_pty = PtyTransport::open(error);
        ASSERT_TRUE(m_pty) << error;
        m_emulator = std::make_unique<Emulator>(std::move(profile), m_clock);
        m_serve = std::thread([this] { m_pty->serve(*m_emulator, m_clock, m_stop); });
        serial = std::make_unique<CSerialPort>();
        port = std::make_unique<SerialExchangePort>(*serial);
        exchange = std::make_unique<CommandExchange>(*port, timers, view, settings);
        QObject::connect(exchange.get(), &CommandExchange::mainInfoChainEnded,
                         [this](bool arrived) { chainEnded = arrived; });
    }

    void TearDown() override {
        serial.reset(); // the reader stops before its owner goes
        exchange.reset();
        port.reset();
        m_stop.store(true);
        if (m_serve.joinable()) {
            m_serve.join();
        }
    }

    QString devicePath() const { return QString::fromStdString(m_pty->slavePath()); }

    QtReplyTimers timers;
    RecordingView view;
    StoredSettings settings;
    std::unique_ptr<CSerialPort> serial;
    std::unique_ptr<SerialExchangePort> port;
    std::unique_ptr<CommandExchange> exchange;
    std::optional<bool> chainEnded;

private:
    SteadyClock m_clock;
    std::unique_ptr<PtyTransport> m_pty;
    std::unique_ptr<Emulator> m_emulator;
    std::atomic<bool> m_stop{false};
    std::thread m_serve;
};

TEST_F(SerialExchange, openingReadsTheMainInformationAndTheMotherboard) {
    start();
    ASSERT_TRUE(exchange->openPort(devicePath()));
    ASSERT_TRUE(runUntil([this] { return chainEnded.has_value(); }));
    EXPECT_EQ(chainEnded, true);
    ASSERT_TRUE(view.panel.has_value());
    EXPECT_EQ(view.panel->receiverSerial, QStringLiteral("KS260107"));
    EXPECT_EQ(view.panel->motherboardType, QStringLiteral("Trimble"));
    EXPECT_EQ(view.motherboardSerial, QStringLiteral("5309K41207"));
    EXPECT_EQ(view.tip, QStringLiteral("Read main information successfully"));

    exchange->closePort();
    EXPECT_TRUE(runUntil([this] { return !serial->readerAlive(); }));
    EXPECT_EQ(view.tip, QStringLiteral("Port closed"));
}

TEST_F(SerialExchange, downloadOverTheLineIsByteIdentical) {
    ReceiverProfile profile;
    profile.files = {StaticFile("KV000001", "STH", 20000, 0x4904, 0x3BB3)};
    // A reply cut across two chunks is lost by design, and a download has no timer to notice.
    // Unpaced bytes on a pseudo-terminal arrive in bursts of its buffer size, so keep each block
    // within one burst and let the reader wait for further bursts (type 'Z' holds input open),
    // so that a busy machine does not split a reply.
    profile.downloadBlockSize = 1000;
    profile.receiverType = 'Z';
    const Bytes expected = profile.files.front().contents();
    start(profile);
    ASSERT_TRUE(exchange->openPort(devicePath()));
    ASSERT_TRUE(runUntil([this] { return chainEnded.has_value(); }));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("KV000001.STH"));
    exchange->StartDownload(QStringLiteral("KV000001"), path);
    ASSERT_TRUE(runUntil([this] { return view.downloadEnds > 0; }));
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("Download static file completed")});

    QFile copy(path);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    const QByteArray bytes = copy.readAll();
    EXPECT_TRUE(bytes == QByteArray(reinterpret_cast<const char*>(expected.data()),
                                    static_cast<qsizetype>(expected.size())));
}

} // namespace
} // namespace kestrava::test
