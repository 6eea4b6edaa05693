// The firmware update against the receiver emulator's loader, in memory, with manual timers.
#include "ExchangeFixture.h"

#include "exchange/FirmwareUpdater.h"
#include "forms/FirmwareForm.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace kestrava::test {
namespace {

// Wire constants, restated.
const Bytes kStartModule{0x24, 0x24, 0x56, 0x53, 0x01, 0x00, 0x00, 0x04, 0x0D, 0x0A};
const Bytes kStartReceiver{0x24, 0x24, 0x56, 0x53, 0x01, 0x00, 0x01, 0x05, 0x0D, 0x0A};
const Bytes kStartReceiverRepeat{0x24, 0x24, 0x56, 0x53, 0x01, 0x31, 0x01, 0x34, 0x0D, 0x0A};
const Bytes kBlockHead{0x24, 0x24, 0x56, 0x58};
const QString kSuccess = QStringLiteral("Update successfully,Please restart the receiver");
const QString kFailed = QStringLiteral("Fail to update,pls close the receiver and try again");

Bytes image(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<Byte>((i * 7 + 3) & 0xFF);
    }
    return bytes;
}

std::uint32_t be(const Bytes& b, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        v = (v << 8) | b[at + i];
    }
    return v;
}

class FirmwareUpdate : public ExchangeFixture {
protected:
    // Starts the receiver (profile, faults), writes the image and opens the port quietly.
    void begin(const QString& name, std::size_t size, ReceiverProfile profile = {},
               FaultPlan plan = {}) {
        // Torn down in order: the updater names itself to the exchange, which names itself to
        // the port.
        updater.reset();
        exchange.reset();
        port.reset();
        start(std::move(profile), plan);
        updater = std::make_unique<FirmwareUpdater>(*exchange);
        QObject::connect(updater.get(), &FirmwareUpdater::finished,
                         [this](bool ok, const QString& english) {
                             endings.push_back({ok, english});
                             timersRunningAtEnd = timers.isRunning(TIMER_FIRMWARE_START) ||
                                                  timers.isRunning(TIMER_FIRMWARE_BLOCK);
                         });
        QObject::connect(
            updater.get(), &FirmwareUpdater::progressChanged,
            [this](int position, std::int64_t, std::int64_t) { progress.push_back(position); });
        path = dir.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        data = image(size);
        file.write(reinterpret_cast<const char*>(data.data()), static_cast<qint64>(data.size()));
        file.close();
        openQuietly();
    }

    FirmwareJob job(int type) {
        const FormResult<FirmwareJob> form = FirmwareForm::check(path, type);
        EXPECT_TRUE(form.ok()) << form.refusal().toStdString();
        return form.ok() ? form.record() : FirmwareJob{};
    }

    std::vector<Bytes> blocks() const {
        std::vector<Bytes> found;
        for (const Bytes& w : port->writes()) {
            if (w.size() > 10 && std::equal(kBlockHead.begin(), kBlockHead.end(), w.begin())) {
                found.push_back(w);
            }
        }
        return found;
    }

    const Bytes& received() { return link->emulator().firmware().image(); }

    struct Ending {
        bool ok;
        QString english;
    };

    QTemporaryDir dir;
    QString path;
    Bytes data;
    std::unique_ptr<FirmwareUpdater> updater;
    std::vector<Ending> endings;
    std::vector<int> progress;
    bool timersRunningAtEnd = true;
};

TEST_F(FirmwareUpdate, normalSpeedBlocksFollowTheLayoutOfTheHardwareCode) {
    struct Case {
        int code;
        const char* name;
        int type;
        std::size_t frameSize;
        std::uint32_t firstAddress;
        std::vector<std::uint32_t> lengths;
    };
    const std::vector<Case> cases = {
        {98, "main.098.kvb", 1, 267, 0x40008000u, {256, 256, 256, 232}},
        {88, "main.088.kvb", 1, 137, 0x40008000u, {128, 128, 128, 128, 128, 128, 128, 104}},
        {98, "gm_main.098.kvb", 0, 267, 0u, {256, 256, 256, 232}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        endings.clear();
        ReceiverProfile profile;
        profile.hardwareCode = c.code;
        begin(c.name, 1000, profile);
        ASSERT_TRUE(updater->start(job(c.type)));
        EXPECT_EQ(port->writes().front(), c.type == 1 ? kStartReceiver : kStartModule);
        port->pump();

        const std::vector<Bytes> sent = blocks();
        ASSERT_EQ(sent.size(), c.lengths.size());
        std::uint32_t address = c.firstAddress;
        for (std::size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].size(), c.frameSize) << i;
            if (c.code == 88) {
                EXPECT_EQ(sent[i][4], c.lengths[i]) << i;
                EXPECT_EQ(be(sent[i], 5, 4), address) << i;
            } else {
                EXPECT_EQ(be(sent[i], 4, 2), c.lengths[i]) << i;
                EXPECT_EQ(be(sent[i], 6, 4), address) << i;
            }
            address += c.lengths[i];
        }
        ASSERT_EQ(endings.size(), 1u);
        EXPECT_TRUE(endings[0].ok);
        EXPECT_EQ(endings[0].english, kSuccess);
        EXPECT_FALSE(timersRunningAtEnd);
        EXPECT_EQ(received(), data);
        EXPECT_EQ(progress.back(), 300);
        EXPECT_FALSE(updater->running());
        EXPECT_EQ(port->baudRate(), 19200);
    }
}

TEST_F(FirmwareUpdate, fastTransferNumbersItsBlocksAndReturnsTo19200) {
    ReceiverProfile profile;
    profile.hardwareCode = 88;
    profile.fastFirmware = true;
    begin("main.088.kvb", 1300, profile);
    ASSERT_TRUE(updater->start(job(1)));
    port->pump();

    const std::vector<Bytes> sent = blocks();
    ASSERT_EQ(sent.size(), 3u);
    const std::uint32_t lengths[] = {512, 512, 276};
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].size(), 521u);
        EXPECT_EQ(be(sent[i], 4, 2), lengths[i]);
        EXPECT_EQ(be(sent[i], 6, 2), i);
    }
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].english, kSuccess);
    EXPECT_EQ(received(), data);
    // Opened at 19200, reopened at 115200 for the blocks, back at 19200 after.
    EXPECT_EQ(port->opens(), 3);
    EXPECT_EQ(port->baudRate(), 19200);
    EXPECT_TRUE(exchange->portOpen());
}

TEST_F(FirmwareUpdate, refusedBlocksAreResentThreeTimesAndTheFourthRefusalEndsTheUpdate) {
    struct Case {
        std::uint32_t refusals;
        Byte status;
        bool ok;
        const char* english;
    };
    for (const Case& c :
         {Case{1, 1, true, "Update successfully,Please restart the receiver"},
          Case{3, 2, true, "Update successfully,Please restart the receiver"},
          Case{4, 1, false, "Translate data wrong"}, Case{4, 2, false, "Write data wrong"}}) {
        SCOPED_TRACE(c.refusals);
        endings.clear();
        FaultPlan plan;
        plan.firmwareRefusals = c.refusals;
        plan.firmwareRefusalStatus = c.status;
        plan.firmwareRefusalBlock = 1;
        begin("main.098.kvb", 1000, {}, plan);
        ASSERT_TRUE(updater->start(job(1)));
        port->pump();
        const std::vector<Bytes> sent = blocks();
        // Block 1 goes out once and then once per refusal up to three resends.
        const std::size_t copies = std::min<std::size_t>(c.refusals, 3) + 1;
        for (std::size_t i = 1; i < copies; ++i) {
            EXPECT_EQ(sent[1 + i], sent[1]) << i;
        }
        ASSERT_EQ(endings.size(), 1u);
        EXPECT_EQ(endings[0].ok, c.ok);
        EXPECT_EQ(endings[0].english, QString::fromLatin1(c.english));
        EXPECT_FALSE(timersRunningAtEnd);
        if (c.ok) {
            EXPECT_EQ(received(), data);
        }
    }
}

TEST_F(FirmwareUpdate, receiverFailuresEndTheUpdateWithTheirMessage) {
    struct Case {
        const char* what;
        void (*fault)(FaultPlan&);
        const char* english;
    };
    const Case cases[] = {
        {"wrong address", [](FaultPlan& f) { f.firmwareWrongAddressBlock = 2; },
         "Wrong address when update"},
        {"failure status", [](FaultPlan& f) { f.firmwareFailBlock = 0; },
         "Fail to update,pls close the receiver and try again"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        endings.clear();
        FaultPlan plan;
        c.fault(plan);
        begin("main.098.kvb", 1000, {}, plan);
        ASSERT_TRUE(updater->start(job(1)));
        port->pump();
        ASSERT_EQ(endings.size(), 1u);
        EXPECT_FALSE(endings[0].ok);
        EXPECT_EQ(endings[0].english, QString::fromLatin1(c.english));
        EXPECT_FALSE(timersRunningAtEnd);
        EXPECT_FALSE(updater->running());
    }
}

TEST_F(FirmwareUpdate, aSilentReceiverIsCaughtByTheWatchdogOfEveryBlockEvenTheFirst) {
    for (int silentBlock : {0, 2}) {
        SCOPED_TRACE(silentBlock);
        endings.clear();
        begin("main.098.kvb", 1000);
        ASSERT_TRUE(updater->start(job(1)));
        port->pump(1 + silentBlock); // the handshake and the blocks before the silent one
        port->clearWrites();
        timers.advance(1999);
        EXPECT_TRUE(endings.empty());
        timers.advance(1);
        ASSERT_EQ(endings.size(), 1u);
        EXPECT_EQ(endings[0].english, kFailed);
        EXPECT_FALSE(timersRunningAtEnd);
        // The late answer and later expiries change nothing: no second box, no second block.
        port->pump();
        timers.advance(10000);
        EXPECT_EQ(endings.size(), 1u);
        EXPECT_TRUE(blocks().empty());
    }
}

TEST_F(FirmwareUpdate, aResentBlockHasItsWatchdogToo) {
    FaultPlan plan;
    plan.firmwareRefusals = 1;
    plan.firmwareRefusalBlock = 0;
    begin("main.098.kvb", 1000, {}, plan);
    ASSERT_TRUE(updater->start(job(1)));
    port->pump(2); // handshake answer, then the refusal: the resend is out, unanswered
    timers.advance(2000);
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].english, kFailed);
}

TEST_F(FirmwareUpdate, handshakeRepeatsUntilStoppedAndAMismatchEndsIt) {
    FaultPlan silent;
    silent.dropAll = true;
    begin("main.098.kvb", 1000, {}, silent);
    ASSERT_TRUE(updater->start(job(1)));
    timers.advance(1500);
    EXPECT_EQ(port->countWrites(kStartReceiverRepeat), 3);
    EXPECT_EQ(port->countWrites(kStartReceiver), 1);
    updater->stop();
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_FALSE(endings[0].ok);
    EXPECT_TRUE(endings[0].english.isEmpty());
    EXPECT_FALSE(timersRunningAtEnd);
    timers.advance(5000);
    EXPECT_EQ(port->countWrites(kStartReceiverRepeat), 3);

    endings.clear();
    ReceiverProfile profile;
    profile.hardwareCode = 98;
    begin("main.088.kvb", 1000, profile);
    ASSERT_TRUE(updater->start(job(1)));
    port->pump();
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].english, QStringLiteral("Hardware don't match the FW file"));
    EXPECT_TRUE(blocks().empty());
}

TEST_F(FirmwareUpdate, otherCommandsAreRefusedWhileTheUpdateRuns) {
    begin("main.098.kvb", 1000);
    ASSERT_TRUE(updater->start(job(1)));
    port->pump(2); // handshake answered, first block accepted, second block in flight
    const std::size_t writes = port->writes().size();
    exchange->request(CommandId::VoiceSwitch, requestargs::VoiceSwitch{VoiceSwitchCode{}});
    exchange->request(CommandId::ReadMainInfo);
    EXPECT_EQ(port->writes().size(), writes);
    EXPECT_EQ(view.tip, QStringLiteral("Tip: Updating,Please don't do other operation"));
    port->pump();
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].english, kSuccess);
    EXPECT_EQ(received(), data);
    exchange->request(CommandId::ReadMainInfo);
    EXPECT_EQ(port->writes().size() > writes, true);
}

TEST_F(FirmwareUpdate, anImageGoneAfterTheHandshakeOrAFailedFastReopenEndsWithAMessage) {
    begin("main.098.kvb", 1000);
    ASSERT_TRUE(updater->start(job(1)));
    ASSERT_TRUE(QFile::remove(path));
    port->pump();
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].english, QStringLiteral("Fail to read the FW file"));
    EXPECT_FALSE(timersRunningAtEnd);

    endings.clear();
    ReceiverProfile fast;
    fast.fastFirmware = true;
    begin("main.098.kvb", 1000, fast);
    ASSERT_TRUE(updater->start(job(1)));
    port->setOpenFails(true);
    port->pump();
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].english, QStringLiteral("Fail to switch the port to 115200 baud"));
    EXPECT_FALSE(updater->running());
    // The port is opened again at 19200 as soon as it can be.
    port->setOpenFails(false);
    EXPECT_TRUE(blocks().empty());
}

TEST_F(FirmwareUpdate, theHandshakeCheckKeepsTheWholeHardwareCode) {
    // 344 and 88 share their low byte; a receiver reporting 88 must not pass for a 344 image.
    ReceiverProfile profile;
    profile.hardwareCode = 88;
    begin("main.098.kvb", 1000, profile);
    FirmwareJob odd = job(1);
    odd.hardwareCode = 344;
    ASSERT_TRUE(updater->start(odd));
    port->pump();
    ASSERT_EQ(endings.size(), 1u);
    EXPECT_EQ(endings[0].english, QStringLiteral("Hardware don't match the FW file"));
}

// Whatever shares the line with the loader's answers, an update whose every block the receiver
// accepted ends in success: a first handshake answer that comes late (a loader still booting,
// answered only after a repeat, so that it arrives among the block answers), a line that echoes
// every command before the answer, NMEA sentences before the answers.
TEST_F(FirmwareUpdate, anUpdateSucceedsAmongLateAnswersEchoesAndNmea) {
    struct Case {
        std::string what;
        int code;
        bool fast;
        void (*fault)(FaultPlan&, int);
        int lateMs;
    };
    const auto late = [](FaultPlan& f, int ms) {
        f.firmwareLateStart = std::chrono::milliseconds(ms);
    };
    const auto echo = [](FaultPlan& f, int) { f.echo = true; };
    const auto nmea = [](FaultPlan& f, int) {
        f.noise = FaultPlan::Noise::Nmea;
        f.noiseNext = 1'000'000;
    };
    std::vector<Case> cases;
    // The late answer lands before, among and after the block answers of the transfer.
    for (int ms : {500, 520, 540, 550, 560, 600, 900}) {
        cases.push_back({"late " + std::to_string(ms), 98, false, late, ms});
    }
    cases.push_back({"echo, 98", 98, false, echo, 0});
    cases.push_back({"echo, 88", 88, false, echo, 0});
    cases.push_back({"echo, fast", 98, true, echo, 0});
    cases.push_back({"nmea, 98", 98, false, nmea, 0});
    cases.push_back({"nmea, fast", 88, true, nmea, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        endings.clear();
        ReceiverProfile profile;
        profile.hardwareCode = c.code;
        profile.fastFirmware = c.fast;
        FaultPlan plan;
        c.fault(plan, c.lateMs);
        begin(QStringLiteral("main.0%1.kvb").arg(c.code), 4000, profile, plan);
        ASSERT_TRUE(updater->start(job(1)));
        if (c.lateMs > 0) {
            timers.advance(500); // the repeat goes out before the late answer is read
        }
        port->pump();
        if (endings.size() != 1u) {
            ADD_FAILURE() << "the update did not end (" << endings.size() << " endings)";
            continue;
        }
        EXPECT_EQ(endings[0].english, kSuccess);
        EXPECT_TRUE(endings[0].ok);
        EXPECT_EQ(received(), data);
        EXPECT_FALSE(updater->running());
    }
}

// The image sent is the one checked at Start: a file that grows, shrinks or is rewritten
// afterwards, before the handshake is answered or while blocks go out, ends the update.
TEST_F(FirmwareUpdate, anImageChangedAfterStartEndsTheUpdateWithAMessage) {
    const QString changed = QStringLiteral("The FW file changed during the update");
    struct Case {
        const char* what;
        int chunksFirst; // chunks delivered before the change (1: the handshake answer)
        void (*change)(const QString& path);
    };
    const Case cases[] = {
        {"grown before the answer", 0,
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::Append));
             f.write(QByteArray(100, 'x'));
         }},
        {"grown while sent", 3,
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::Append));
             f.write(QByteArray(300, 'x'));
         }},
        {"shrunk while sent", 3,
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_TRUE(f.resize(600));
         }},
        {"rewritten in place while sent", 3,
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                       QFileDevice::FileModificationTime));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        endings.clear();
        begin("main.098.kvb", 2000);
        ASSERT_TRUE(updater->start(job(1)));
        port->pump(c.chunksFirst);
        c.change(path);
        port->pump();
        ASSERT_EQ(endings.size(), 1u);
        EXPECT_FALSE(endings[0].ok);
        EXPECT_EQ(endings[0].english, changed);
        EXPECT_FALSE(timersRunningAtEnd);
        EXPECT_LE(received().size(), data.size());
    }
}

} // namespace
} // namespace kestrava::test
