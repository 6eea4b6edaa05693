// kestrava-cli --port DEV firmware ... against the receiver emulator on a pseudo-terminal.
#include "cli/FirmwareVerb.h"
#include "cli/PortVerbs.h"
#include "cli/SettingGroup.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace kestrava {
namespace {

class FirmwareVerbOnPty : public ::testing::Test {
protected:
    void serve(ReceiverProfile profile, FaultPlan faults = {}) {
        m_sim.reset(); // one receiver at a time
        m_sim = std::make_unique<test::ServedEmulator>(std::move(profile), faults);
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

    test::VerbRun run(const std::vector<std::string>& words, const std::string& traceFile = {}) {
        return test::runVerb(m_sim->devicePath(), words, traceFile);
    }

    // What the receiver's loader took in; ends serving.
    const Bytes& received() { return m_sim->stop().firmware().image(); }

    Bytes m_image;
    QTemporaryDir m_dir;

private:
    std::unique_ptr<test::ServedEmulator> m_sim;
};

TEST_F(FirmwareVerbOnPty, writesTheImageAtNormalAndFastSpeed) {
    for (bool fast : {false, true}) {
        SCOPED_TRACE(fast);
        ReceiverProfile profile;
        profile.hardwareCode = 88;
        profile.fastFirmware = fast;
        serve(profile);
        const QString path = image(QStringLiteral("main.088.kvb"), 3000);
        const test::VerbRun update =
            run({"firmware", path.toStdString(), "--type", "receiver", "--yes"});
        EXPECT_EQ(update.status, kCliOk) << update.err;
        EXPECT_EQ(update.out, "Update successfully,Please restart the receiver\n");
        EXPECT_EQ(received(), m_image);
    }
}

TEST_F(FirmwareVerbOnPty, refusesWithTheWindowsWordsAndGivesUpOnASilentReceiver) {
    FaultPlan silent;
    silent.dropAll = true;
    serve(ReceiverProfile{}, silent);
    const QString module = image(QStringLiteral("main.098.kvb"), 100);
    const test::VerbRun refused = run({"firmware", module.toStdString(), "--yes"});
    EXPECT_EQ(refused.status, kCliRefused);
    EXPECT_EQ(refused.err, "Please check whether this an Module FW\n");

    const QString receiver = image(QStringLiteral("rx.098.kvb"), 100);
    const test::VerbRun unanswered =
        run({"firmware", receiver.toStdString(), "--type", "receiver", "--yes", "--timeout", "1"});
    EXPECT_EQ(unanswered.status, kCliNoReply);
    EXPECT_EQ(unanswered.err, "No answer from the receiver,please check that it is switched on\n");
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
            FaultPlan plan;
            c.fault(plan);
            serve(ReceiverProfile{}, plan);
            const QString path = image(QStringLiteral("main.098.kvb"), 6000);
            const std::string trace =
                traced ? m_dir.filePath(QStringLiteral("fw.trace")).toStdString() : std::string();
            const test::VerbRun update =
                run({"firmware", path.toStdString(), "--type", "receiver", "--yes"}, trace);
            EXPECT_EQ(update.status, kCliOk) << update.err;
            EXPECT_EQ(update.out, "Update successfully,Please restart the receiver\n");
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
