// kestrava-cli's Static settings and files verbs against the receiver emulator on a
// pseudo-terminal, run in-process as "kestrava-cli --port DEV ..." would run them.
#include "cli/PortVerbs.h"
#include "emulator/StaticFile.h"
#include "support/ServedEmulator.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sstream>

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
    void serve(ReceiverProfile profile = {}, FaultPlan faults = {}) {
        emulator = std::make_unique<ServedEmulator>(std::move(profile), faults);
        ASSERT_TRUE(folder.isValid());
    }
    int run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        return PortVerbs::run(emulator->devicePath(), args, out, err);
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    std::unique_ptr<ServedEmulator> emulator;
    QTemporaryDir folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(StaticVerbs, setChangesTheReceiverAndGetPrintsWhatItHolds) {
    serve();
    ASSERT_EQ(
        run({"set", "CollectParams.CollecInterval=5", "CollectParams.CutOff=20",
             "FileParams.FilePrefix=C", "FileParams.FileSN=12", "OtherParams.StaticLocation=0",
             "OtherParams.Rinex=1", "OtherParams.StaticVoice=0"}),
        0)
        << err.str();
    ASSERT_EQ(run({"get", "CollectParams", "FileParams", "OtherParams"}), 0) << err.str();
    const std::string ini = out.str();
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
        EXPECT_THAT(err.str(), HasSubstr(c.message));
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
    ASSERT_EQ(run({"files", "list"}), 0) << err.str();
    const std::string listing = out.str();
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
        << err.str();
    EXPECT_TRUE(contentsOf(target) == emulatorContents(file));
    EXPECT_FALSE(QFile::exists(target + ".part"));
    EXPECT_EQ(out.str(), target.toStdString() + "\n");
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
    EXPECT_THAT(err.str(), HasSubstr("Fail to download static file"));
    EXPECT_EQ(contentsOf(target), QByteArray("old"));
    EXPECT_TRUE(contentsOf(target + ".part") == emulatorContents(file).left(2 * 4095));
}

TEST_F(StaticVerbs, downloadAllFetchesEveryFileAndUnknownNamesAreRefused) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(3);
    serve(profile);
    EXPECT_EQ(run({"files", "download", "NOSUCH.STH"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("No such file on the receiver: NOSUCH.STH"));
    const QString into = path("all");
    ASSERT_EQ(run({"files", "download", "--all", "--output", into.toStdString()}), 0) << err.str();
    for (std::uint32_t i = 0; i < 3; ++i) {
        const StaticFile file = StaticFile::generated(i);
        const QString name = QString::fromStdString(file.name() + "." + file.extension());
        EXPECT_TRUE(contentsOf(QDir(into).filePath(name)) == emulatorContents(file))
            << name.toStdString();
    }
}

TEST_F(StaticVerbs, deleteRemovesExactlyTheNamedFiles) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(10);
    serve(profile);
    ASSERT_EQ(run({"files", "delete", "KV000002.STH", "KV000005.STH"}), 0) << err.str();
    const Emulator& held = emulator->stop();
    ASSERT_EQ(held.store().files().size(), 8u);
    for (const StaticFile& file : held.store().files()) {
        EXPECT_NE(file.name(), "KV000002");
        EXPECT_NE(file.name(), "KV000005");
    }
}

TEST_F(StaticVerbs, formatNeedsYesWithoutATerminalAndIsRefusedWhileRecording) {
    ReceiverProfile recording;
    recording.recording = true;
    serve(recording);
    EXPECT_EQ(run({"files", "format"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("--yes"));
    EXPECT_EQ(run({"files", "format", "--yes"}), 4);
    EXPECT_THAT(err.str(), HasSubstr("Recording raw file,cannot do the Format operation"));
    EXPECT_EQ(emulator->stop().store().files().size(), 10u);

    serve();
    EXPECT_EQ(run({"files", "format", "--yes"}), 0) << err.str();
    EXPECT_TRUE(emulator->stop().store().files().empty());
}

TEST(FilesArguments, areCheckedBeforeThePortIsOpened) {
    std::ostringstream out;
    std::ostringstream err;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"files"},
                                                 {"files", "list", "x"},
                                                 {"files", "download"},
                                                 {"files", "download", "A.STH", "--all"},
                                                 {"files", "download", "A", "--output"},
                                                 {"files", "delete"},
                                                 {"files", "format", "now"},
                                                 {"files", "copy"}}) {
        EXPECT_EQ(PortVerbs::run("/nonexistent/device", args, out, err), 1) << args.size();
    }
}

} // namespace
} // namespace kestrava
