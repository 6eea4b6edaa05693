// The built-in emulator's in-process port (the window's emulator where there are no
// pseudo-terminals) keeps the serial port's rules: one chunk per reply, the input hold, the
// purge at every write, the port-closed notice; and the router sends each opening to its port.
#include "app/EmulatorExchangePort.h"
#include "app/PortRouter.h"
#include "emulator/Emulator.h"
#include "emulator/InProcessLine.h"
#include "emulator/SteadyClock.h"
#include "protocol/DollarCommands.h"
#include "protocol/ReplyEnd.h"
#include "serial/SerialTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <atomic>
#include <memory>
#include <thread>

namespace kestrava {
namespace {

using test::pumpFor;
using test::pumpUntil;
using test::RecordingOwner;

// The emulator served on an in-process line, as the program serves it.
class ServedLine {
public:
    explicit ServedLine(FaultPlan faults = {})
        : m_emulator(ReceiverProfile{}, m_clock, Emulator::Timing{}, faults) {
        m_thread = std::thread([this] { m_line.serve(m_emulator, m_clock, m_stop); });
    }
    ~ServedLine() {
        m_stop = true;
        m_line.wakeServer();
        m_thread.join();
    }
    InProcessLine& line() { return m_line; }

private:
    SteadyClock m_clock;
    Emulator m_emulator;
    InProcessLine m_line;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct Request {
    Bytes frame;
    ExpectedReply expected;
};

Request mainInfo() {
    Request r;
    ReadMainInfo(r.frame, r.expected);
    return r;
}

Request netParams() {
    Request r;
    ReadNetParams(r.frame, r.expected);
    return r;
}

Bytes joined(const RecordingOwner& owner) {
    Bytes all;
    for (const auto& chunk : owner.chunks) {
        all.insert(all.end(), chunk.begin(), chunk.end());
    }
    return all;
}

TEST(EmulatorExchangePort, aReplyInTwoBurstsFollowsTheInputHold) {
    FaultPlan faults;
    faults.splitNext = 10;
    faults.splitGap = std::chrono::milliseconds(60);
    const struct {
        bool hold;
        std::size_t chunks;
    } cases[] = {{true, 1}, {false, 2}, {true, 1}};
    ServedLine served(faults);
    RecordingOwner owner;
    EmulatorExchangePort port(served.line(), QStringLiteral("Emulator"));
    port.setOwner(&owner);
    ASSERT_TRUE(port.open(QStringLiteral("Emulator"), 19200));
    for (const auto& c : cases) {
        owner.chunks.clear();
        port.setHoldInputOpen(c.hold);
        const Request request = mainInfo();
        ASSERT_TRUE(port.queueWrite(request.frame.data(), request.frame.size()));
        pumpFor(400);
        EXPECT_EQ(owner.chunks.size(), c.chunks) << "hold " << c.hold;
        const Bytes all = joined(owner);
        EXPECT_TRUE(ReplyEnd::complete(request.expected, all.data(), all.size()));
    }
    EXPECT_EQ(owner.offThread, 0);
}

TEST(EmulatorExchangePort, aWholeReplyLeavesWithoutWaitingForTheQuietLine) {
    ServedLine served;
    RecordingOwner owner;
    EmulatorExchangePort port(served.line(), QStringLiteral("Emulator"));
    port.setOwner(&owner);
    ASSERT_TRUE(port.open(QStringLiteral("Emulator"), 19200));
    const Request request = mainInfo();
    port.setChunkComplete([&request](const std::uint8_t* bytes, std::size_t count) {
        return ReplyEnd::complete(request.expected, bytes, count);
    });
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(port.queueWrite(request.frame.data(), request.frame.size()));
    ASSERT_TRUE(pumpUntil([&] { return !owner.chunks.empty(); }));
    // The emulator answers after 20 ms; the quiet line and the hold would add 150 ms.
    EXPECT_LT(clock.elapsed(), 140);
}

TEST(EmulatorExchangePort, aWriteDropsTheAnswerToTheCommandBefore) {
    ServedLine served;
    RecordingOwner owner;
    EmulatorExchangePort port(served.line(), QStringLiteral("Emulator"));
    port.setOwner(&owner);
    ASSERT_TRUE(port.open(QStringLiteral("Emulator"), 19200));
    const Request first = mainInfo();
    const Request second = netParams();
    ASSERT_TRUE(port.queueWrite(first.frame.data(), first.frame.size()));
    pumpFor(30); // the first answer is on its way, not yet handed over
    ASSERT_TRUE(port.queueWrite(second.frame.data(), second.frame.size()));
    pumpFor(400);
    ASSERT_EQ(owner.chunks.size(), 1u);
    const Bytes& chunk = owner.chunks.front();
    EXPECT_TRUE(ReplyEnd::complete(second.expected, chunk.data(), chunk.size()));
    EXPECT_FALSE(ReplyEnd::complete(first.expected, chunk.data(), chunk.size()));
}

TEST(EmulatorExchangePort, closingPostsTheNoticeAndRefusesWritesUntilOpenedAgain) {
    ServedLine served;
    RecordingOwner owner;
    EmulatorExchangePort port(served.line(), QStringLiteral("Emulator"));
    port.setOwner(&owner);
    const Request request = mainInfo();
    EXPECT_FALSE(port.queueWrite(request.frame.data(), request.frame.size()));
    ASSERT_TRUE(port.open(QStringLiteral("Emulator"), 19200));
    EXPECT_TRUE(port.readerAlive());
    std::vector<std::uint8_t> tooLong(EmulatorExchangePort::kWriteBufferSize + 1, 0);
    EXPECT_FALSE(port.queueWrite(tooLong.data(), tooLong.size()));
    port.shutdown();
    ASSERT_TRUE(pumpUntil([&] { return owner.portEvents == 1; }));
    EXPECT_FALSE(port.readerAlive());
    EXPECT_FALSE(port.queueWrite(request.frame.data(), request.frame.size()));
    // Opened again (the firmware transfer's baud change does this): it answers again.
    ASSERT_TRUE(port.open(QStringLiteral("Emulator"), 115200));
    ASSERT_TRUE(port.queueWrite(request.frame.data(), request.frame.size()));
    EXPECT_TRUE(pumpUntil([&] { return !owner.chunks.empty(); }));
}

// Records what the router passes on.
class FakePort : public ExchangePort {
public:
    void setOwner(SerialPortOwner* next) override { owner = next; }
    bool readerAlive() const override { return alive; }
    bool open(const QString& portName, std::int32_t) override {
        opened.append(portName);
        alive = true;
        return true;
    }
    bool queueWrite(const std::uint8_t*, std::size_t length) override {
        written += length;
        return true;
    }
    void shutdown() override {
        alive = false;
        ++shutdowns;
    }
    void setHoldInputOpen(bool h) override { hold = h; }
    QString portName() const override { return opened.isEmpty() ? QString() : opened.back(); }

    SerialPortOwner* owner = nullptr;
    QStringList opened;
    bool alive = false;
    bool hold = true;
    std::size_t written = 0;
    int shutdowns = 0;
};

TEST(PortRouter, eachOpeningGoesToThePortOfItsNameAndClosesTheOther) {
    FakePort serial;
    FakePort emulator;
    PortRouter router(serial, emulator, QStringLiteral("Emulator"));
    RecordingOwner owner;
    router.setOwner(&owner);
    EXPECT_EQ(serial.owner, &owner);
    EXPECT_EQ(emulator.owner, &owner);
    const std::uint8_t byte = 0;

    ASSERT_TRUE(router.open(QStringLiteral("COM3"), 19200));
    router.queueWrite(&byte, 1);
    ASSERT_TRUE(router.open(QStringLiteral("Emulator"), 19200));
    EXPECT_EQ(serial.shutdowns, 1); // the serial port's reader ends first
    router.queueWrite(&byte, 1);
    router.queueWrite(&byte, 1);
    router.setHoldInputOpen(false);

    EXPECT_EQ(serial.opened, QStringList{QStringLiteral("COM3")});
    EXPECT_EQ(emulator.opened, QStringList{QStringLiteral("Emulator")});
    EXPECT_EQ(serial.written, 1u);
    EXPECT_EQ(emulator.written, 2u);
    EXPECT_FALSE(serial.hold);
    EXPECT_FALSE(emulator.hold);
    EXPECT_EQ(router.portName(), QStringLiteral("Emulator"));
    router.shutdown();
    EXPECT_FALSE(router.readerAlive());
}

} // namespace
} // namespace kestrava
