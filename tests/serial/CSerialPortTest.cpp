#include "serial/CSerialPort.h"

#include "serial/SerialTestSupport.h"
#include "support/PseudoTerminal.h"

#include <gmock/gmock.h>

#include <QSerialPort>
#include <QThread>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kestrava {
namespace {

using test::PseudoTerminal;
using test::pumpFor;
using test::pumpUntil;
using test::RecordingOwner;
using test::RecordingReporter;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr std::uint32_t kMask = 3; // EV_RXCHAR | EV_RXFLAG, as the main window passes it

std::vector<std::uint8_t> bytesOf(const char* text) {
    std::vector<std::uint8_t> bytes;
    for (const char* c = text; *c != '\0'; ++c) {
        bytes.push_back(static_cast<std::uint8_t>(*c));
    }
    return bytes;
}

class SerialPortFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pty.isOpen());
        holdInputOpen = 1;
    }
    void TearDown() override { holdInputOpen = 1; }

    QString path() const { return QString::fromStdString(m_pty.slavePath()); }

    // Opens the pseudo-terminal, starts the reader and waits until it counts as open.
    void openAndStart(CSerialPort& port) {
        ASSERT_TRUE(port.OpenPort(&m_owner, path(), CSerialPort::kNormalBaudRate, kMask));
        ASSERT_TRUE(port.startReader());
        ASSERT_TRUE(pumpUntil([&] { return port.readerAlive(); }));
    }

    PseudoTerminal m_pty;
    RecordingOwner m_owner;
    RecordingReporter m_reporter;
};

// ---- chunks --------------------------------------------------------------------------------

struct BurstCase {
    const char* name;
    int hold;
    std::size_t expectedChunks;
};

void PrintTo(const BurstCase& c, std::ostream* out) {
    *out << c.name;
}

class SerialPortBursts : public SerialPortFixture,
                         public ::testing::WithParamInterface<BurstCase> {};

TEST_P(SerialPortBursts, twoBurstsSixtyMillisecondsApartFollowTheInputHold) {
    const BurstCase& c = GetParam();
    CSerialPort port(&m_reporter);
    openAndStart(port);
    holdInputOpen = c.hold;

    // Three attempts: on a loaded machine the reader may wake late enough after the first burst
    // to see the second within the quiet interval. A reader that ignores the hold fails all three.
    std::vector<std::vector<std::uint8_t>> chunks;
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_owner.chunks.clear();
        ASSERT_TRUE(m_pty.send(bytesOf("$$first")));
        QThread::msleep(60);
        ASSERT_TRUE(m_pty.send(bytesOf("second\r\n")));
        ASSERT_TRUE(pumpUntil([&] { return m_owner.bytesReceived() >= 15; }));
        pumpFor(250);
        chunks = m_owner.chunks;
        if (chunks.size() == c.expectedChunks) {
            break;
        }
    }
    ASSERT_EQ(chunks.size(), c.expectedChunks);
    std::vector<std::uint8_t> joined;
    for (const auto& chunk : chunks) {
        joined.insert(joined.end(), chunk.begin(), chunk.end());
    }
    EXPECT_THAT(joined, ElementsAreArray(bytesOf("$$firstsecond\r\n")));
    EXPECT_EQ(m_owner.offThread, 0);
}

INSTANTIATE_TEST_SUITE_P(Hold, SerialPortBursts,
                         ::testing::Values(BurstCase{"held", 1, 1}, BurstCase{"notHeld", 0, 2}),
                         [](const ::testing::TestParamInfo<BurstCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(SerialPortFixture, inputStillQueuedWhenAWriteStartsIsDiscarded) {
    holdInputOpen = 0;
    CSerialPort port(&m_reporter);
    openAndStart(port);

    // The first reply arrives while no write is pending and is delivered. While the owner
    // handles it, and the reader waits for that, stale input queues up and a command is queued.
    const std::vector<std::uint8_t> command{0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A};
    bool queuedBehind = false;
    m_owner.whileHandling = [&] {
        if (queuedBehind) {
            return;
        }
        queuedBehind = true;
        ASSERT_TRUE(m_pty.send(bytesOf("stale")));
        ASSERT_TRUE(pumpUntil([&] { return m_pty.queuedAtSlave() == 5; }));
        ASSERT_TRUE(port.QueueWrite(command.data(), command.size()));
    };
    ASSERT_TRUE(m_pty.send(bytesOf("reply-1")));
    ASSERT_TRUE(pumpUntil([&] { return !m_owner.chunks.empty(); }));
    EXPECT_THAT(m_pty.receive(command.size(), 3000), ElementsAreArray(command));
    ASSERT_TRUE(m_pty.send(bytesOf("reply-2")));
    ASSERT_TRUE(pumpUntil([&] { return m_owner.chunks.size() >= 2; }));
    pumpFor(150);

    ASSERT_EQ(m_owner.chunks.size(), 2u);
    EXPECT_THAT(m_owner.chunks[0], ElementsAreArray(bytesOf("reply-1")));
    EXPECT_THAT(m_owner.chunks[1], ElementsAreArray(bytesOf("reply-2")));
}

// ---- writes --------------------------------------------------------------------------------

TEST_F(SerialPortFixture, aWriteThatFillsTheBufferArrivesWhole) {
    CSerialPort port(&m_reporter);
    openAndStart(port);
    std::vector<std::uint8_t> frame(1024);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    ASSERT_TRUE(port.QueueWrite(frame.data(), frame.size()));
    EXPECT_THAT(m_pty.receive(frame.size(), 3000), ElementsAreArray(frame));
    EXPECT_THAT(m_reporter.reports, IsEmpty());
}

TEST_F(SerialPortFixture, aWriteBeyondTheBufferIsRefusedAndNothingIsSent) {
    CSerialPort port(&m_reporter);
    openAndStart(port);
    const std::vector<std::uint8_t> tooLong(1025, 0x55);
    EXPECT_FALSE(port.QueueWrite(tooLong.data(), tooLong.size()));
    EXPECT_THAT(m_pty.receive(1, 150), IsEmpty());
    EXPECT_TRUE(port.readerAlive());
}

// ---- opening and closing -------------------------------------------------------------------

TEST_F(SerialPortFixture, shutdownClosesTheDeviceAndThenPostsThePortEvent) {
    CSerialPort port(&m_reporter);
    openAndStart(port);
    port.signalShutdown();
    ASSERT_TRUE(pumpUntil([&] { return m_owner.portEvents == 1; }));
    EXPECT_FALSE(port.readerAlive());

    // The device is free again: another port object can open it.
    CSerialPort other(&m_reporter);
    EXPECT_TRUE(other.OpenPort(&m_owner, path(), CSerialPort::kNormalBaudRate, kMask));
    EXPECT_THAT(m_reporter.reports, IsEmpty());
    EXPECT_EQ(m_owner.offThread, 0);
}

TEST_F(SerialPortFixture, openPortOnAnOpenPortEndsTheOldReaderAndItsNoticeIsStillPosted) {
    CSerialPort port(&m_reporter);
    openAndStart(port);
    ASSERT_TRUE(port.OpenPort(&m_owner, path(), CSerialPort::kFastBaudRate, kMask));
    EXPECT_FALSE(port.readerAlive()); // closed until the new reader runs
    ASSERT_TRUE(pumpUntil([&] { return m_owner.portEvents == 1; }));

    ASSERT_TRUE(port.startReader());
    ASSERT_TRUE(pumpUntil([&] { return port.readerAlive(); }));
    ASSERT_TRUE(m_pty.send(bytesOf("after-reopen")));
    ASSERT_TRUE(pumpUntil([&] { return m_owner.bytesReceived() >= 12; }));
    EXPECT_THAT(m_owner.chunks.back(), ElementsAreArray(bytesOf("after-reopen")));
    EXPECT_EQ(m_owner.portEvents, 1);
}

enum class Unopenable { Missing, HeldByAnotherOpening };

void PrintTo(Unopenable u, std::ostream* out) {
    *out << (u == Unopenable::Missing ? "missing" : "heldByAnotherOpening");
}

class SerialPortUnopenable : public SerialPortFixture,
                             public ::testing::WithParamInterface<Unopenable> {};

TEST_P(SerialPortUnopenable, openingFailsWithoutAReport) {
    QSerialPort holder(QString::fromStdString(m_pty.slavePath()));
    QString target = QStringLiteral("/dev/kestrava-no-such-port");
    if (GetParam() == Unopenable::HeldByAnotherOpening) {
        ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
        target = path();
    }
    CSerialPort port(&m_reporter);
    EXPECT_FALSE(port.OpenPort(&m_owner, target, CSerialPort::kNormalBaudRate, kMask));
    EXPECT_FALSE(port.startReader());
    EXPECT_FALSE(port.readerAlive());
    pumpFor(50);
    EXPECT_THAT(m_reporter.reports, IsEmpty());
    EXPECT_EQ(m_owner.portEvents, 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, SerialPortUnopenable,
                         ::testing::Values(Unopenable::Missing, Unopenable::HeldByAnotherOpening),
                         [](const ::testing::TestParamInfo<Unopenable>& param) {
                             return ::testing::PrintToString(param.param);
                         });

// ---- failures ------------------------------------------------------------------------------

TEST_F(SerialPortFixture, aFailedLineSetupIsReportedAndThePortStillOpens) {
    CSerialPort port(&m_reporter);
    ASSERT_TRUE(port.OpenPort(&m_owner, path(), 0, kMask));
    ASSERT_EQ(m_reporter.reports.size(), 1u);
    const QString& text = m_reporter.reports[0].first;
    EXPECT_THAT(text.toStdString(),
                StartsWith("WARNING:  BuildCommDCB() Failed with the following error: \n"));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nPort: ") + path() + QStringLiteral("\n")));
    EXPECT_EQ(m_reporter.reports[0].second, QStringLiteral("Application Error"));
    EXPECT_TRUE(port.startReader());
    EXPECT_TRUE(pumpUntil([&] { return port.readerAlive(); }));
}

TEST_F(SerialPortFixture, aVanishedDeviceIsReportedOnceThenClosedAndCanBeOpenedAgain) {
    CSerialPort port(&m_reporter);
    openAndStart(port);
    m_pty.closeMaster();
    ASSERT_TRUE(pumpUntil([&] { return m_owner.portEvents == 1; }));
    pumpFor(300);
    EXPECT_FALSE(port.readerAlive());
    ASSERT_EQ(m_reporter.reports.size(), 1u);
    EXPECT_THAT(m_reporter.reports[0].first.toStdString(),
                StartsWith("WARNING:  ReadFile() Failed with the following error: \n"));
    EXPECT_THAT(m_reporter.reports[0].first.toStdString(), HasSubstr("\nPort: /dev/"));
    EXPECT_EQ(m_owner.portEvents, 1);

    PseudoTerminal replacement;
    ASSERT_TRUE(replacement.isOpen());
    ASSERT_TRUE(port.OpenPort(&m_owner, QString::fromStdString(replacement.slavePath()),
                              CSerialPort::kNormalBaudRate, kMask));
    ASSERT_TRUE(port.startReader());
    EXPECT_TRUE(pumpUntil([&] { return port.readerAlive(); }));
}

} // namespace
} // namespace kestrava
