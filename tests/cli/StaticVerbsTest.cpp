// kestrava-cli's Static settings and files verbs against the receiver emulator on a
// pseudo-terminal, run in-process as "kestrava-cli --port DEV ..." would run them.
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
#include <thread>

namespace kestrava {
namespace {

using test::ServedEmulator;
using ::testing::HasSubstr;

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray emulatorContents(const StaticFile& file) {
    const Bytes bytes = file.contents();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

class StaticVerbs : public ::testing::Test {
protected:
    void serve(ReceiverProfile profile = {}, FaultPlan faults = {}, Emulator::Timing timing = {}) {
        emulator = std::make_unique<ServedEmulator>(std::move(profile), faults, timing);
        ASSERT_TRUE(folder.isValid());
    }
    int run(const std::vector<std::string>& args) {
        last = test::runVerb(emulator->devicePath(), args);
        return last.status;
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    std::unique_ptr<ServedEmulator> emulator;
    QTemporaryDir folder;
    test::VerbRun last; // what the last run printed
};

TEST_F(StaticVerbs, setChangesTheReceiverAndGetPrintsWhatItHolds) {
    serve();
    ASSERT_EQ(
        run({"set", "CollectParams.CollecInterval=5", "CollectParams.CutOff=20",
             "FileParams.FilePrefix=C", "FileParams.FileSN=12", "OtherParams.StaticLocation=0",
             "OtherParams.Rinex=1", "OtherParams.StaticVoice=0"}),
        0)
        << last.err;
    ASSERT_EQ(run({"get", "CollectParams", "FileParams", "OtherParams"}), 0) << last.err;
    const std::string ini = last.out;
    for (const char* line :
         {"[CollectParams]", "CollecInterval=5", "CutOff=20", "[FileParams]", "FilePrefix=C",
          "FileSN=012", "[OtherParams]", "StaticLocation=0", "Rinex=1", "StaticVoice=0"}) {
        EXPECT_THAT(ini, HasSubstr(line));
    }
    const Emulator& held = emulator->stop();
    EXPECT_EQ(held.settings().collect(), (std::array<Byte, 2>{5, 20}));
    EXPECT_EQ(held.settings().naming(), (std::array<Byte, 4>{'C', '0', '1', '2'}));
    EXPECT_EQ(held.settings().storeLocation(), 0);
    EXPECT_EQ(held.settings().voiceBlock()[1], 1);
    EXPECT_FALSE(held.settings().staticVoice());
}

TEST_F(StaticVerbs, refusedValuesGiveThePagesMessageAndSendNothing) {
    serve();
    struct Case {
        const char* assignment;
        const char* message;
    };
    for (const Case& c : {
             Case{"CollectParams.CutOff=91",
                  "Please make sure the cutoff is a plus integer between 0-90"},
             Case{"FileParams.FileSN=0999", "The file SN should be a plus integer between 000-999"},
             Case{"OtherParams.Rinex=yes", "OtherParams.Rinex must be 1 or 0"},
         }) {
        EXPECT_EQ(run({"set", c.assignment}), 2) << c.assignment;
        EXPECT_THAT(last.err, HasSubstr(c.message));
    }
    const Emulator& held = emulator->stop();
    EXPECT_EQ(held.settings().collect(), (std::array<Byte, 2>{1, 10}));
    EXPECT_EQ(held.settings().naming(), (std::array<Byte, 4>{'K', '0', '0', '1'}));
}

TEST_F(StaticVerbs, listPrintsOneLinePerFileWithExactBytesAndIsoTime) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(16);
    profile.files.push_back(StaticFile("KV000099", "STH", 3000, 0x4904, 0x3BB3));
    serve(profile);
    ASSERT_EQ(run({"files", "list"}), 0) << last.err;
    const std::string listing = last.out;
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 17);
    EXPECT_THAT(listing, HasSubstr("KV000099.STH\t2K\t3000\t2016-08-04T07:29:38\n"));
}

TEST_F(StaticVerbs, downloadIsByteIdenticalAndReplacesAnOldFile) {
    const StaticFile file("BIG00001", "STH", 50000, 0x4904, 0x3BB3);
    ReceiverProfile profile;
    profile.files = {file};
    serve(profile);
    const QString target = path("copy.sth");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_EQ(run({"files", "download", "BIG00001.STH", "--output", target.toStdString()}), 0)
        << last.err;
    EXPECT_TRUE(contentsOf(target) == emulatorContents(file));
    EXPECT_FALSE(QFile::exists(target + ".part"));
    EXPECT_EQ(last.out, target.toStdString() + "\n");
}

TEST_F(StaticVerbs, aFailedDownloadExitsFourKeepsThePartAndTheOldFile) {
    const StaticFile file("BIG00001", "STH", 50000, 0x4904, 0x3BB3);
    ReceiverProfile profile;
    profile.files = {file};
    FaultPlan faults;
    faults.downloadFailBlock = 2;
    serve(profile, faults);
    const QString target = path("BIG00001.STH");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    // Into a folder: the file keeps its listed name there.
    EXPECT_EQ(run({"files", "download", "big00001.sth", "--output", folder.path().toStdString()}),
              4);
    EXPECT_THAT(last.err, HasSubstr("Fail to download static file"));
    EXPECT_EQ(contentsOf(target), QByteArray("old"));
    EXPECT_TRUE(contentsOf(target + ".part") == emulatorContents(file).left(2 * 4095));
}

TEST_F(StaticVerbs, downloadAllFetchesEveryFileAndUnknownNamesAreRefused) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(3);
    serve(profile);
    EXPECT_EQ(run({"files", "download", "NOSUCH.STH"}), 2);
    EXPECT_THAT(last.err, HasSubstr("No such file on the receiver: NOSUCH.STH"));
    const QString into = path("all");
    ASSERT_EQ(run({"files", "download", "--all", "--output", into.toStdString()}), 0) << last.err;
    for (std::uint32_t i = 0; i < 3; ++i) {
        const StaticFile file = StaticFile::generated(i);
        const QString name = QString::fromStdString(file.name() + "." + file.extension());
        EXPECT_TRUE(contentsOf(QDir(into).filePath(name)) == emulatorContents(file))
            << name.toStdString();
    }
}

// Names shorter than eight characters are listed with their extension and asked for by their
// name field; an empty file is 0K and downloads as an empty file; a folder named with a trailing
// separator is created, as --all creates its own.
TEST_F(StaticVerbs, shortNamesAndEmptyFilesAreListedAndDownloadedIntoANewFolder) {
    const StaticFile shortName("AB", "DAT", 5000, 0x4904, 0x3BB3);
    const StaticFile empty("EMPTY", "STH", 0, 0x4904, 0x3BB3);
    ReceiverProfile profile;
    profile.files = {shortName, empty};
    serve(profile);
    ASSERT_EQ(run({"files", "list"}), 0) << last.err;
    EXPECT_EQ(last.out, "AB.DAT\t4K\t5000\t2016-08-04T07:29:38\n"
                        "EMPTY.STH\t0K\t0\t2016-08-04T07:29:38\n");
    const QString into = path("new/folder") + QLatin1Char('/');
    ASSERT_EQ(run({"files", "download", "AB.DAT", "--output", into.toStdString()}), 0) << last.err;
    EXPECT_TRUE(contentsOf(into + "AB.DAT") == emulatorContents(shortName));
    ASSERT_EQ(run({"files", "download", "EMPTY.STH", "--output", into.toStdString()}), 0)
        << last.err;
    EXPECT_TRUE(QFileInfo(into + "EMPTY.STH").isFile());
    EXPECT_EQ(QFileInfo(into + "EMPTY.STH").size(), 0);
}

// The list position travels in one byte: past 256 files the listing says it was cut, and
// "download --all" cannot claim to have fetched everything.
TEST_F(StaticVerbs, beyond256FilesTheCutIsReportedAndDownloadAllFails) {
    ReceiverProfile profile;
    for (int i = 0; i < 260; ++i) {
        profile.files.emplace_back(
            QStringLiteral("F%1").arg(i, 5, 10, QLatin1Char('0')).toStdString(), "DAT", 0, 0x4904,
            0x3BB3);
    }
    Emulator::Timing quick;
    quick.latency = SimTime{0};
    serve(profile, {}, quick);
    ASSERT_EQ(run({"files", "list"}), 0) << last.err;
    const std::string listing = last.out;
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 256);
    EXPECT_EQ(last.err, "Only the first 256 files can be listed\n");

    const QString into = path("all");
    EXPECT_EQ(run({"files", "download", "--all", "--output", into.toStdString()}), 4);
    EXPECT_THAT(last.err, HasSubstr("Only the first 256 files can be listed"));
    EXPECT_EQ(QDir(into).entryList(QDir::Files).size(), 256);
}

// A block the line delivers twice is not written as the next one: the download fails, says why
// and where the part is, and the target is never created.
TEST_F(StaticVerbs, aBlockDeliveredTwiceFailsTheDownload) {
    ReceiverProfile profile;
    profile.files = {StaticFile("BIG00001", "STH", 50000, 0x4904, 0x3BB3)};
    FaultPlan faults;
    faults.downloadTwiceBlock = 3;
    serve(profile, faults);
    const QString target = path("BIG00001.STH");
    EXPECT_EQ(run({"files", "download", "BIG00001.STH", "--output", target.toStdString()}), 4);
    EXPECT_THAT(last.err, HasSubstr("The line delivered a reply that was not asked for: the "
                                    "download has failed\nThe part received is kept in " +
                                    target.toStdString() + ".part."));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(QFile::exists(target + ".part"));
    EXPECT_EQ(last.out, "");
}

// The cable is pulled after the receiver said it was ready and before the first block.
TEST_F(StaticVerbs, aCablePulledBeforeTheFirstBlockSaysTheReceiverWasLost) {
    ReceiverProfile profile;
    profile.files = {StaticFile("BIG00001", "STH", 50000, 0x4904, 0x3BB3)};
    FaultPlan faults;
    faults.downloadDeadBlock = 0;
    serve(profile, faults);
    const QString target = path("BIG00001.STH");
    const std::string device = emulator->devicePath();
    // Only the puller touches the receiver from here on.
    std::unique_ptr<ServedEmulator> receiver = std::move(emulator);
    std::atomic<bool> pulled{false};
    std::thread puller([&] {
        for (int i = 0; i < 1000 && !QFile::exists(target + ".part"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        receiver.reset(); // the terminal closes: the open device hangs up
        pulled = true;
    });
    last = test::runVerb(device,
                         {"files", "download", "BIG00001.STH", "--output", target.toStdString()});
    const int status = last.status;
    puller.join();
    ASSERT_TRUE(pulled);
    EXPECT_EQ(status, 4);
    EXPECT_THAT(last.err, HasSubstr("The receiver was lost: the download has stopped.\nThe part "
                                    "received is kept in " +
                                    target.toStdString() + ".part."));
    EXPECT_THAT(last.err, ::testing::Not(HasSubstr("Fail to download static file")));
}

TEST_F(StaticVerbs, deleteRemovesExactlyTheNamedFiles) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(10);
    serve(profile);
    ASSERT_EQ(run({"files", "delete", "KV000002.STH", "KV000005.STH"}), 0) << last.err;
    const Emulator& held = emulator->stop();
    ASSERT_EQ(held.store().files().size(), 8u);
    for (const StaticFile& file : held.store().files()) {
        EXPECT_NE(file.name(), "KV000002");
        EXPECT_NE(file.name(), "KV000005");
    }
}

// The exit status says what happened: a file named twice is deleted once (and said so); a name
// the receiver does not have refuses the whole command before anything is sent.
TEST_F(StaticVerbs, deleteExitsByWhatHappened) {
    struct Case {
        std::vector<std::string> names;
        int status;
        std::size_t left;
        const char* message;
    };
    for (const Case& c : {
             Case{{"KV000002.STH", "KV000002.STH"},
                  0,
                  9,
                  "KV000002.STH is named more than once; it is deleted once"},
             Case{{"KV000002.STH", "kv000002.sth", "KV000003.STH"},
                  0,
                  8,
                  "KV000002.STH is named more than once; it is deleted once"},
             Case{
                 {"KV000002.STH", "NOSUCH.STH"}, 2, 10, "No such file on the receiver: NOSUCH.STH"},
         }) {
        serve();
        std::vector<std::string> args = {"files", "delete"};
        args.insert(args.end(), c.names.begin(), c.names.end());
        EXPECT_EQ(run(args), c.status) << last.err;
        EXPECT_THAT(last.err, HasSubstr(c.message));
        EXPECT_EQ(emulator->stop().store().files().size(), c.left) << c.names.size();
    }
}

TEST_F(StaticVerbs, formatNeedsYesWithoutATerminalAndIsRefusedWhileRecording) {
    ReceiverProfile recording;
    recording.recording = true;
    serve(recording);
    EXPECT_EQ(run({"files", "format"}), 2);
    EXPECT_THAT(last.err, HasSubstr("--yes"));
    EXPECT_EQ(run({"files", "format", "--yes"}), 4);
    EXPECT_THAT(last.err, HasSubstr("Recording raw file,cannot do the Format operation"));
    EXPECT_EQ(emulator->stop().store().files().size(), 10u);

    serve();
    EXPECT_EQ(run({"files", "format", "--yes"}), 0) << last.err;
    EXPECT_TRUE(emulator->stop().store().files().empty());
}

TEST(FilesArguments, areCheckedBeforeThePortIsOpened) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"files"},
                                                 {"files", "list", "x"},
                                                 {"files", "download"},
                                                 {"files", "download", "A.STH", "--all"},
                                                 {"files", "download", "A", "--output"},
                                                 {"files", "delete"},
                                                 {"files", "format", "now"},
                                                 {"files", "copy"}}) {
        EXPECT_EQ(test::runVerb("/nonexistent/device", args).status, 1) << args.size();
    }
}

} // namespace
} // namespace kestrava
