// kestrava-cli --port DEV firmware ... against the receiver emulator on a pseudo-terminal.
#include "cli/FirmwareVerb.h"
#include "cli/PortVerbs.h"
#include "cli/SettingGroup.h"
#include "emulator/Emulator.h"
#include "emulator/PtyTransport.h"
#include "emulator/SteadyClock.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

namespace kestrava {
namespace {

class FirmwareVerbOnPty : public ::testing::Test {
protected:
    void serve(ReceiverProfile profile, FaultPlan faults = {}) {
        std::string error;
        m_stop.store(false);
        m_pty = PtyTransport::open(error);
        ASSERT_TRUE(m_pty) << error;
        m_emulator =
            std::make_unique<Emulator>(std::move(profile), m_clock, Emulator::Timing{}, faults);
        m_thread = std::thread([this] { m_pty->serve(*m_emulator, m_clock, m_stop); });
    }

    void TearDown() override {
        m_stop.store(true);
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    QString image(const QString& name, int size) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>(i * 13 + 1);
        }
        file.write(bytes);
        m_image = Bytes(bytes.begin(), bytes.end());
        return path;
    }

    int run(const std::vector<std::string>& words) {
        out.str({});
        err.str({});
        return PortVerbs::run(m_pty->slavePath(), words, out, err);
    }

    const Bytes& received() const { return m_emulator->firmware().image(); }

    std::ostringstream out;
    std::ostringstream err;
    Bytes m_image;
    QTemporaryDir m_dir;
    std::unique_ptr<PtyTransport> m_pty;

private:
    SteadyClock m_clock;
    std::unique_ptr<Emulator> m_emulator;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST_F(FirmwareVerbOnPty, writesTheImageAtNormalAndFastSpeed) {
    for (bool fast : {false, true}) {
        SCOPED_TRACE(fast);
        TearDown();
        ReceiverProfile profile;
        profile.hardwareCode = 88;
        profile.fastFirmware = fast;
        serve(profile);
        const QString path = image(QStringLiteral("main.088.kvb"), 3000);
        EXPECT_EQ(run({"firmware", path.toStdString(), "--type", "receiver", "--yes"}), kCliOk)
            << err.str();
        EXPECT_EQ(out.str(), "Update successfully,Please restart the receiver\n");
        EXPECT_EQ(received(), m_image);
    }
}

TEST_F(FirmwareVerbOnPty, refusesWithTheWindowsWordsAndGivesUpOnASilentReceiver) {
    FaultPlan silent;
    silent.dropAll = true;
    serve(ReceiverProfile{}, silent);
    const QString module = image(QStringLiteral("main.098.kvb"), 100);
    EXPECT_EQ(run({"firmware", module.toStdString(), "--yes"}), kCliRefused);
    EXPECT_EQ(err.str(), "Please check whether this an Module FW\n");

    const QString receiver = image(QStringLiteral("rx.098.kvb"), 100);
    EXPECT_EQ(
        run({"firmware", receiver.toStdString(), "--type", "receiver", "--yes", "--timeout", "1"}),
        kCliNoReply);
    EXPECT_EQ(err.str(), "No answer from the receiver,please check that it is switched on\n");
}

// Over a real serial reader, where the hand-over of each answer matters: a loader that answers
// its first handshake late, a line that echoes every command, NMEA before every answer; each
// with and without a protocol trace, which must change nothing.
TEST_F(FirmwareVerbOnPty, writesTheImageAmongLateAnswersEchoesAndNmeaTracedOrNot) {
    struct Case {
        const char* what;
        void (*fault)(FaultPlan&);
    };
    const Case cases[] = {
        {"late first answer",
         [](FaultPlan& f) { f.firmwareLateStart = std::chrono::milliseconds(600); }},
        {"echo", [](FaultPlan& f) { f.echo = true; }},
        {"nmea",
         [](FaultPlan& f) {
             f.noise = FaultPlan::Noise::Nmea;
             f.noiseNext = 1'000'000;
         }},
    };
    for (const Case& c : cases) {
        for (bool traced : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (traced ? ", traced" : ""));
            TearDown();
            FaultPlan plan;
            c.fault(plan);
            serve(ReceiverProfile{}, plan);
            const QString path = image(QStringLiteral("main.098.kvb"), 6000);
            const std::string trace =
                traced ? m_dir.filePath(QStringLiteral("fw.trace")).toStdString() : std::string();
            out.str({});
            err.str({});
            EXPECT_EQ(
                PortVerbs::run(m_pty->slavePath(),
                               {"firmware", path.toStdString(), "--type", "receiver", "--yes"}, out,
                               err, trace),
                kCliOk)
                << err.str();
            EXPECT_EQ(out.str(), "Update successfully,Please restart the receiver\n");
            EXPECT_EQ(received(), m_image);
        }
    }
}

TEST(FirmwareVerbArguments, areCheckedBeforeThePortIsOpened) {
    struct Case {
        std::vector<std::string> args;
        const char* problem;
    };
    const Case cases[] = {
        {{}, "firmware: which FILE?"},
        {{"a.098.kvb", "b.098.kvb"}, "firmware: unexpected \"b.098.kvb\""},
        {{"a.098.kvb", "--type", "radio"}, "firmware: --type is module or receiver, not \"radio\""},
        {{"a.098.kvb", "--timeout", "0"},
         "firmware: --timeout is a number of seconds from 1 to 86400"},
        {{"a.098.kvb", "--timeout"}, "firmware: --timeout needs a value"},
    };
    for (const Case& c : cases) {
        FirmwareVerb::Options options;
        EXPECT_EQ(FirmwareVerb::parse(c.args, options), c.problem);
    }
    FirmwareVerb::Options options;
    EXPECT_EQ(FirmwareVerb::parse({"--yes", "x.088.kvb", "--type", "receiver", "--timeout", "5"},
                                  options),
              "");
    EXPECT_EQ(options.file, "x.088.kvb");
    EXPECT_EQ(options.type, 1);
    EXPECT_TRUE(options.yes);
    EXPECT_EQ(options.timeoutSeconds, 5);
}

} // namespace
} // namespace kestrava
