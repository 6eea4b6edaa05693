#include "serial/CSerialPort.h"

#include "serial/SerialTestSupport.h"
#include "support/PseudoTerminal.h"

#include <gmock/gmock.h>

#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace kestrava {
namespace {

using test::PseudoTerminal;
using test::pumpUntil;
using test::RecordingOwner;
using test::RecordingReporter;

constexpr int kRounds = 1000;
constexpr int kStallSeconds = 20;

// Aborts the process when the soak stops making progress: a deadlock shows as a named failure
// rather than as a time-out of the whole test run.
class StallWatchdog {
public:
    explicit StallWatchdog(const std::atomic<int>& round) : m_round(round) {
        m_thread = std::thread([this] { watch(); });
    }
    ~StallWatchdog() {
        m_done = true;
        m_thread.join();
    }

private:
    void watch() {
        int seen = -1;
        auto since = std::chrono::steady_clock::now();
        while (!m_done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const int now = m_round.load();
            if (now != seen) {
                seen = now;
                since = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - since >
                       std::chrono::seconds(kStallSeconds)) {
                std::fprintf(stderr, "serial soak stalled in round %d: deadlock\n", now);
                std::abort();
            }
        }
    }

    const std::atomic<int>& m_round;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Every round opens the port, lets a burst arrive, and then ends the reader in one of four ways
// while this thread serves no events, so that the reader is often waiting to deliver a chunk to
// the very thread that is waiting for it to end:
//   0  re-open after a random pause (the reader is reading, or waiting in delivery)
//   1  serve events until the chunk has been delivered, then re-open
//   2  destroy after a random pause
//   3  destroy at once, with a write queued (shutdown wins over the write)
// Rounds 1 also receive the port-closed notice of the reader that the re-open ended.
TEST(SerialPortSoak, destroyAndReopenWhileDataStreamsInAThousandTimes) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isOpen());
    const QString path = QString::fromStdString(pty.slavePath());
    RecordingOwner owner;
    RecordingReporter reporter;
    holdInputOpen = 0;

    std::atomic<int> round{0};
    StallWatchdog watchdog(round);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> pauseMs(0, 120);
    const std::vector<std::uint8_t> command{0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A};

    QElapsedTimer clock;
    clock.start();
    auto port = std::make_unique<CSerialPort>(&reporter);
    int delivered = 0;
    for (; round < kRounds; ++round) {
        const int r = round.load();
        ASSERT_TRUE(port->OpenPort(&owner, path, CSerialPort::kNormalBaudRate, 3)) << r;
        holdInputOpen = 0; // every opening sets it; this soak wants quick chunks
        ASSERT_TRUE(port->startReader()) << r;
        while (!port->readerAlive()) {
            QThread::yieldCurrentThread();
        }
        const auto tag = static_cast<std::uint8_t>('a' + r % 26);
        ASSERT_TRUE(pty.send(std::vector<std::uint8_t>(48, tag))) << r;
        pty.receive(SIZE_MAX, 0); // discard what earlier rounds wrote

        switch (r % 4) {
        case 0:
            QThread::msleep(static_cast<unsigned long>(pauseMs(random)));
            break; // the next OpenPort re-opens the running port
        case 1: {
            const std::size_t before = owner.chunks.size();
            ASSERT_TRUE(pumpUntil([&] { return owner.chunks.size() > before; })) << r;
            ++delivered;
            break;
        }
        case 2:
            QThread::msleep(static_cast<unsigned long>(pauseMs(random)));
            port = std::make_unique<CSerialPort>(&reporter);
            break;
        default:
            port->QueueWrite(command.data(), command.size());
            port = std::make_unique<CSerialPort>(&reporter);
            break;
        }
    }
    port.reset();
    const auto elapsed = clock.elapsed();
    std::printf("serial soak: %d rounds in %lld ms\n", kRounds, static_cast<long long>(elapsed));
    RecordProperty("rounds", kRounds);
    RecordProperty("milliseconds", static_cast<int>(elapsed));

    EXPECT_EQ(delivered, kRounds / 4);
    for (const auto& chunk : owner.chunks) {
        ASSERT_FALSE(chunk.empty());
        // One round's burst only: nothing leaks from one opening into the next.
        EXPECT_EQ(std::count(chunk.begin(), chunk.end(), chunk.front()),
                  static_cast<std::ptrdiff_t>(chunk.size()));
    }
    EXPECT_EQ(owner.portEvents, kRounds / 4);
    EXPECT_EQ(owner.offThread, 0);
    EXPECT_TRUE(reporter.reports.empty());
    holdInputOpen = 1;
}

} // namespace
} // namespace kestrava
