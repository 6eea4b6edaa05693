// Ctrl-C while receiver verbs run: every session stops at its next wait, says what it stopped
// and what it kept, and closes its port; a batch still writes its summary and report.
#include "cli/Interruption.h"
#include "cli/FleetRun.h"
#include "cli/PortVerbs.h"
#include "emulator/StaticFile.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace kestrava {
namespace {

using Clock = std::chrono::steady_clock;
using ::testing::HasSubstr;
using ::testing::Not;

// Interrupts as Ctrl-C does, from a thread of its own, once ready() holds (checked for up to
// 30 s) while the verb runs on the test's thread, where its Qt objects live.
class Interrupter {
public:
    explicit Interrupter(std::function<bool()> ready)
        : m_thread([this, ready = std::move(ready)] {
              const auto limit = Clock::now() + std::chrono::seconds(30);
              while (!ready() && Clock::now() < limit) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
              Interruption::request();
              m_when.store(Clock::now().time_since_epoch().count());
          }) {}
    ~Interrupter() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    // When it interrupted; call after the verb has ended.
    Clock::time_point when() {
        m_thread.join();
        return Clock::time_point(Clock::duration(m_when.load()));
    }

private:
    std::atomic<Clock::rep> m_when{0};
    std::thread m_thread;
};

class InterruptedVerbs : public ::testing::Test {
protected:
    void TearDown() override { Interruption::clear(); }
};

TEST_F(InterruptedVerbs, aDownloadStopsKeepsItsPartAndLeavesTheOldFileAlone) {
    // About two minutes at 19200 baud: only an interruption ends it within the test.
    const StaticFile file("BIG00001", "STH", 200000, 0x4904, 0x3BB3);
    ReceiverProfile profile;
    profile.files = {file};
    Emulator::Timing paced;
    paced.pacing = true;
    test::ServedEmulator receiver(profile, {}, paced);
    QTemporaryDir folder;
    const QString target = folder.filePath("copy.sth");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }

    Interrupter ctrlC([&] { return QFileInfo(target + ".part").size() > 4096; });
    const test::VerbRun download =
        test::runVerb(receiver.devicePath(),
                      {"files", "download", "BIG00001.STH", "--output", target.toStdString()});
    const auto ended = Clock::now();
    const auto interrupted = ctrlC.when();

    EXPECT_EQ(download.status, Interruption::kExitStatus) << download.err;
    EXPECT_LT(ended - interrupted, std::chrono::seconds(5));
    EXPECT_THAT(download.err, HasSubstr("Interrupted: the download of BIG00001.STH was stopped; "
                                        "the part received is kept in " +
                                        (target + ".part").toStdString() + "\n"));
    EXPECT_THAT(download.err, HasSubstr("Interrupted: stopped, the port is closed\n"));
    EXPECT_EQ(download.out, "");

    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    QFile part(target + ".part");
    ASSERT_TRUE(part.open(QIODevice::ReadOnly));
    const QByteArray kept = part.readAll();
    const Bytes whole = file.contents();
    ASSERT_LT(static_cast<std::size_t>(kept.size()), whole.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), whole.begin(), [](char a, Byte b) {
        return static_cast<Byte>(a) == b;
    })) << "the part is not the start of the file";
}

TEST_F(InterruptedVerbs, aBatchStopsEverySessionAndStillReportsEachPort) {
    // Receivers that would keep the batch waiting for their main information.
    FaultPlan mute;
    mute.dropAll = true;
    ReceiverProfile first;
    first.serialNumber = "KS000022";
    test::ServedEmulator silentFirst(first, mute);
    ReceiverProfile second;
    second.serialNumber = "KS000023";
    test::ServedEmulator silentSecond(second, mute);

    QTemporaryDir folder;
    const std::string profile = QDir(folder.path()).filePath("base.ini").toStdString();
    std::ofstream(profile) << "[CollectParams]\nCutOff=12\n";
    const std::string report = QDir(folder.path()).filePath("day.csv").toStdString();
    FleetRun::Options options;
    options.ports = {silentFirst.devicePath(), silentSecond.devicePath()};
    options.verbAndArgs = {"apply", profile};
    options.reportPath = report;

    std::ostringstream out;
    std::ostringstream err;
    const auto started = Clock::now();
    Interrupter ctrlC([&] { return Clock::now() - started > std::chrono::milliseconds(800); });
    const int status = FleetRun::run(options, out, err);
    // Before the receivers' silence would have been reported.
    EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(2500));

    EXPECT_EQ(status, Interruption::kExitStatus) << out.str() << err.str();
    for (const test::ServedEmulator* receiver : {&silentFirst, &silentSecond}) {
        EXPECT_THAT(err.str(), HasSubstr(receiver->devicePath() +
                                         ": Interrupted: stopped, the port is closed\n"));
    }
    EXPECT_THAT(err.str(), Not(HasSubstr("No reply from receiver")));
    EXPECT_THAT(out.str(), ::testing::ContainsRegex("\n" + silentFirst.devicePath() +
                                                    " +interrupted +0 +0 +0 "));
    std::ifstream csv(report);
    std::string header;
    std::getline(csv, header);
    std::vector<std::string> rows;
    for (std::string row; std::getline(csv, row);) {
        rows.push_back(row);
    }
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_THAT(rows[0], HasSubstr("," + silentFirst.devicePath() + ",,,,interrupted,0,0,0,"));
    EXPECT_THAT(rows[1], HasSubstr("," + silentSecond.devicePath() + ",,,,interrupted,0,0,0,"));
}

TEST_F(InterruptedVerbs, theSignalsReachTheSessionsAndTheSnrTestIsStopped) {
    test::ServedEmulator receiver;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // Until the verb has its handler in place, the signal must not end the test program.
        const auto previous = std::signal(signal, [](int) {});
        const auto started = Clock::now();
        std::thread press([signal] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            std::raise(signal);
        });
        const test::VerbRun snr = test::runVerb(receiver.devicePath(), {"snr", "--seconds", "30"});
        press.join();
        std::signal(signal, previous);
        // The SNR test runs until stopped: Ctrl-C is its ordinary end.
        EXPECT_EQ(snr.status, 0) << snr.err;
        EXPECT_LT(Clock::now() - started, std::chrono::seconds(10)) << "signal " << signal;
    }
    EXPECT_FALSE(receiver.stop().signalTestRunning());
}

} // namespace
} // namespace kestrava
