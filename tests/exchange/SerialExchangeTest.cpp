// The exchange core on the real serial port, talking to the receiver emulator on a
// pseudo-terminal, with the program's own timers.
#include "exchange/CommandExchange.h"
#include "exchange/QtReplyTimers.h"
#include "exchange/RecordingView.h"
#include "exchange/SerialExchangePort.h"
#include "serial/CSerialPort.h"
#include "settings/StoredSettings.h"
#include "support/ServedEmulator.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace kestrava::test {
namespace {

class SerialExchange : public ::testing::Test {
protected:
    void start(ReceiverProfile profile = {}) {
        m_sim = std::make_unique<ServedEmulator>(std::move(profile));
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
        m_sim.reset();
    }

    QString devicePath() const { return QString::fromStdString(m_sim->devicePath()); }

    QtReplyTimers timers;
    RecordingView view;
    StoredSettings settings;
    std::unique_ptr<CSerialPort> serial;
    std::unique_ptr<SerialExchangePort> port;
    std::unique_ptr<CommandExchange> exchange;
    std::optional<bool> chainEnded;

private:
    std::unique_ptr<ServedEmulator> m_sim;
};

TEST_F(SerialExchange, openingReadsTheMainInformationAndTheMotherboard) {
    start();
    ASSERT_TRUE(exchange->openPort(devicePath()));
    ASSERT_TRUE(waitUntil([this] { return chainEnded.has_value(); }));
    EXPECT_EQ(chainEnded, true);
    ASSERT_TRUE(view.panel.has_value());
    EXPECT_EQ(view.panel->receiverSerial, QStringLiteral("KS260107"));
    EXPECT_EQ(view.panel->motherboardType, QStringLiteral("Trimble"));
    EXPECT_EQ(view.motherboardSerial, QStringLiteral("5309K41207"));
    EXPECT_EQ(view.tip, QStringLiteral("Read main information successfully"));

    exchange->closePort();
    EXPECT_TRUE(waitUntil([this] { return !serial->readerAlive(); }));
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
    ASSERT_TRUE(waitUntil([this] { return chainEnded.has_value(); }));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("KV000001.STH"));
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("KV000001"), path});
    ASSERT_TRUE(waitUntil([this] { return view.downloadEnds > 0; }));
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("Download static file completed")});

    QFile copy(path);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    const QByteArray bytes = copy.readAll();
    EXPECT_TRUE(bytes == QByteArray(reinterpret_cast<const char*>(expected.data()),
                                    static_cast<qsizetype>(expected.size())));
}

} // namespace
} // namespace kestrava::test
