// The static files on the receiver: paging the list, formatting, and downloading to a file.
#include "exchange/ExchangeFixture.h"
#include "exchange/FileRowFormat.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

namespace kestrava::test {
namespace {

// ---- File list ------------------------------------------------------------------------------

struct ListCase {
    const char* name;
    std::uint32_t files;
    int requests;
    int rows;
    const char* tip;
};

constexpr const char* kListed = "Read static file finished";
constexpr const char* kListCut = "Only the first 256 files can be listed";

class FileListPaging : public ExchangeFixture, public ::testing::WithParamInterface<ListCase> {};

TEST_P(FileListPaging, asksPageAfterFullPageThenReportsTheEnd) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(GetParam().files);
    start(profile);
    openQuietly();
    exchange->request(RequestChain::FileList);
    port->pump();
    EXPECT_EQ(port->countWrites(kReadFileListHead), GetParam().requests);
    EXPECT_EQ(view.fileRows.size(), GetParam().rows);
    EXPECT_EQ(view.tip, QString::fromLatin1(GetParam().tip));
    EXPECT_EQ(exchange->fileListCut(), GetParam().tip == kListCut);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FileListPaging,
    ::testing::Values(ListCase{"sixteenFilesTakeThreeRequests", 16, 3, 16, kListed},
                      ListCase{"partialPageEndsAtOnce", 3, 1, 3, kListed},
                      ListCase{"emptyStore", 0, 1, 0, kListed},
                      ListCase{"justBelowTheLimit", 255, 32, 255, kListed},
                      // The position travels in one byte: the listing stops before it wraps to 0
                      // and lists the same files again for ever, and says that it stopped. With
                      // exactly 256 files the last page is full too: more cannot be ruled out.
                      ListCase{"positionNeverWraps", 300, 32, 256, kListCut},
                      ListCase{"exactlyTheLimit", 256, 32, 256, kListCut}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ExchangeFixture, fileRowsShowNameSizeAnd24HourTime) {
    ReceiverProfile profile;
    profile.files = {StaticFile("KV000001", "STH", 2048, 0x4904, 0x3BB3),
                     StaticFile("KV000002", "STH", 1000, 0x0000, 0xFFFF),
                     StaticFile("EMPTY", "STH", 0, 0x4904, 0x3BB3)};
    start(profile);
    openQuietly();
    exchange->request(CommandId::ReadFileList);
    port->pump();
    ASSERT_EQ(view.fileRows.size(), 3);
    // A name shorter than eight characters keeps its extension; commands carry the name alone.
    EXPECT_EQ(view.fileRows[2].name, QStringLiteral("EMPTY.STH"));
    EXPECT_EQ(view.fileRows[2].downloadName, QStringLiteral("EMPTY"));
    EXPECT_EQ(view.fileRows[2].size, QStringLiteral("0K"));
    EXPECT_EQ(view.fileRows[0].downloadName, QStringLiteral("KV000001"));
    EXPECT_EQ(view.fileRows[0].name, QStringLiteral("KV000001.STH"));
    EXPECT_EQ(view.fileRows[0].size, QStringLiteral("2K"));
    EXPECT_EQ(view.fileRows[0].time, QStringLiteral("07:29:38"));
    EXPECT_FALSE(view.fileRows[0].date.isEmpty());
    EXPECT_EQ(view.fileRows[1].size, QStringLiteral("1K"));
    // Month 0 and 31:63:62 describe no date and no time.
    EXPECT_TRUE(view.fileRows[1].date.isEmpty());
    EXPECT_TRUE(view.fileRows[1].time.isEmpty());
}

// ---- Delete ---------------------------------------------------------------------------------

struct DeleteCase {
    const char* name;
    std::uint32_t selected; // the first files of the store
    bool unknownToo;        // plus a name the receiver does not have
    int completed;
    int dropped;
    RequestOutcome::Result result;
    bool box;
    std::size_t filesLeft;
};

class DeleteSelected : public ExchangeFixture, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteSelected, completesOrDropsTheDeletion) {
    const DeleteCase& c = GetParam();
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(200);
    start(profile);
    openQuietly();
    QStringList names;
    for (std::uint32_t i = 0; i < c.selected; ++i) {
        names.append(QStringLiteral("KV%1.STH").arg(i, 6, 10, QLatin1Char('0')));
    }
    if (c.unknownToo) {
        names.append(QStringLiteral("NOSUCH01.STH"));
    }
    int completed = 0;
    int dropped = 0;
    std::optional<RequestOutcome::Result> result;
    exchange->request(CommandId::DeleteFiles, requestargs::DeleteFiles{names},
                      [&](const RequestOutcome& outcome) {
                          result = outcome.result;
                          ++(outcome.carried<std::int32_t>(KindFilesDeleted) == 0 ? completed
                                                                                  : dropped);
                      });
    port->pump();
    EXPECT_EQ(completed, c.completed);
    EXPECT_EQ(dropped, c.dropped);
    EXPECT_EQ(result, c.result); // a deletion that never went out is not reported as sent
    EXPECT_EQ(view.messages.contains(QStringLiteral("Fail to delete static file")), c.box);
    EXPECT_EQ(link->emulator().store().files().size(), c.filesLeft);
    EXPECT_EQ(exchange->expectedReply().kind, KindNone);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteSelected,
    ::testing::Values(DeleteCase{"threeFiles", 3, false, 1, 0, RequestOutcome::Result::Replied,
                                 false, 197},
                      DeleteCase{"refusedByTheReceiver", 1, true, 0, 1,
                                 RequestOutcome::Result::Replied, true, 199},
                      // 9 + 8 x 150 bytes exceed what one write carries: nothing goes out.
                      DeleteCase{"tooManyForOneWrite", 150, false, 0, 1,
                                 RequestOutcome::Result::NotSent, true, 200}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// ---- Format ---------------------------------------------------------------------------------

TEST_F(ExchangeFixture, rinexFlagIsSentAsStoredAtSetNotAsShownWhenTheReplyArrives) {
    start();
    openQuietly();
    for (const Byte stored : {Byte{1}, Byte{0}}) {
        settings.rinex = stored;
        exchange->request(CommandId::SetStoreLocation, requestargs::SetStoreLocation{true});
        port->pump();
        EXPECT_EQ(link->emulator().settings().voiceBlock()[1], stored);
        EXPECT_EQ(view.tip, QStringLiteral("Set Whether to record Rinex Successfully"));
    }
}

TEST_F(ExchangeFixture, formatWhileRecordingShowsTheBoxAndSendsNoFormat) {
    ReceiverProfile profile;
    profile.recording = true;
    start(profile);
    openQuietly();
    exchange->request(CommandId::ReadRecordingState);
    port->pump();
    EXPECT_EQ(view.messages,
              QStringList{QStringLiteral("Recording raw file,cannot do the Format operation")});
    EXPECT_EQ(port->countWrites(kFormatFiles), 0);
    EXPECT_EQ(link->emulator().store().files().size(), 10u);
}

TEST_F(ExchangeFixture, formatWhenIdleEmptiesTheList) {
    start();
    openQuietly();
    int cleared = 0;
    exchange->request(RequestChain::Format, [&cleared](const RequestOutcome& outcome) {
        cleared += outcome.carried<std::int32_t>(KindFilesFormatted) == 0 ? 1 : 0;
    });
    port->pump();
    EXPECT_EQ(port->countWrites(kFormatFiles), 1);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(view.tip, QStringLiteral("Format static files successfully"));
    EXPECT_TRUE(link->emulator().store().files().empty());
    EXPECT_TRUE(view.messages.isEmpty());
}

// ---- Download -------------------------------------------------------------------------------

class Download : public ExchangeFixture {
protected:
    void startWith(std::uint32_t size, FaultPlan faults = {}) {
        ReceiverProfile profile;
        profile.files = {StaticFile("BIG00001", "STH", size, 0x4904, 0x3BB3)};
        start(profile, faults);
        openQuietly();
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("BIG00001.STH"));
    }

    static QByteArray contentsOf(const QString& file) {
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
        return in.readAll();
    }
    QByteArray onDisk() const { return contentsOf(path); }
    // What a download that did not complete kept.
    QByteArray partial() const { return contentsOf(path + QStringLiteral(".part")); }
    void writeOldFile() const {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(kOldContents);
    }

    const QByteArray kOldContents = QByteArray(9000, 'x');

    QByteArray expectedPrefix(std::uint32_t count) const {
        const Bytes all = link->emulator().store().files().front().contents();
        return QByteArray(reinterpret_cast<const char*>(all.data()),
                          static_cast<qsizetype>(std::min<std::size_t>(count, all.size())));
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(Download, copyOnDiskIsByteIdentical) {
    constexpr std::uint32_t kSize = 1u << 20;
    startWith(kSize);
    QElapsedTimer clock;
    clock.start();
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path});
    port->pump();
    const qint64 elapsed = clock.elapsed();
    std::printf("[ figure ] 1 MiB in-memory download: %lld ms, %d blocks\n",
                static_cast<long long>(elapsed), view.blocks);

    EXPECT_EQ(view.messages, QStringList{QStringLiteral("Download static file completed")});
    EXPECT_EQ(view.downloadEnds, 1);
    EXPECT_EQ(view.downloaded, kSize);
    EXPECT_FALSE(exchange->downloadTargetOpen());
    const QByteArray copy = onDisk();
    ASSERT_EQ(copy.size(), static_cast<qsizetype>(kSize));
    EXPECT_TRUE(copy == expectedPrefix(kSize));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part")));
    EXPECT_TRUE(exchange->lastDownloadComplete());
}

TEST_F(Download, blocksTheLineCutInTwoAreJoinedNotLost) {
    FaultPlan faults;
    faults.splitNext = 100; // every reply of the transfer arrives in two pieces
    startWith(30000, faults);
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path, 30000});
    port->pump();
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("Download static file completed")});
    EXPECT_TRUE(onDisk() == expectedPrefix(30000));
}

TEST_F(Download, existingFileIsReplacedNotAppended) {
    startWith(5000);
    writeOldFile();
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path});
    port->pump();
    EXPECT_TRUE(onDisk() == expectedPrefix(5000));
}

TEST_F(Download, failureReportedByTheReceiverLeavesThePartialFileAndThePageIdle) {
    FaultPlan faults;
    faults.downloadFailBlock = 3;
    startWith(100000, faults);
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path});
    port->pump();
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("Fail to download static file")});
    EXPECT_EQ(view.downloadEnds, 1);
    EXPECT_FALSE(exchange->downloadTargetOpen());
    EXPECT_EQ(view.blocks, 3);
    EXPECT_TRUE(partial() == expectedPrefix(static_cast<std::uint32_t>(view.downloaded)));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(exchange->lastDownloadComplete());
}

// The user's file at the target survives every download that does not complete: the copy grows
// beside it and only a complete one takes its place.
struct KeepCase {
    const char* name;
    std::int32_t failBlock;        // the receiver reports failure instead of this block
    std::int64_t listedExtraBytes; // the listing promised this many bytes more than arrive
    bool stop;                     // the user stops after two blocks
    const char* box;               // how the one box begins
};

class ExistingTarget : public Download, public ::testing::WithParamInterface<KeepCase> {};

TEST_P(ExistingTarget, isUntouchedWhenTheDownloadDoesNotComplete) {
    const KeepCase& c = GetParam();
    FaultPlan faults;
    faults.downloadFailBlock = c.failBlock;
    startWith(20000, faults);
    writeOldFile();
    exchange->request(
        CommandId::StartDownload,
        requestargs::StartDownload{QStringLiteral("BIG00001"), path, 20000 + c.listedExtraBytes});
    if (c.stop) {
        port->pump(3);
        exchange->request(CommandId::StopDownload);
    }
    port->pump();
    if (c.box == nullptr) {
        EXPECT_TRUE(view.messages.isEmpty());
    } else {
        ASSERT_EQ(view.messages.size(), 1);
        EXPECT_TRUE(view.messages.front().startsWith(QString::fromLatin1(c.box)))
            << view.messages.front().toStdString();
    }
    EXPECT_TRUE(onDisk() == kOldContents);
    EXPECT_TRUE(partial() == expectedPrefix(static_cast<std::uint32_t>(view.downloaded)));
    EXPECT_FALSE(exchange->lastDownloadComplete());
    EXPECT_EQ(view.downloadEnds, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExistingTarget,
                         ::testing::Values(KeepCase{"receiverReportsFailure", 2, 0, false,
                                                    "Fail to download static file"},
                                           KeepCase{"completionShortOfTheListedSize", -1, 1, false,
                                                    "Fail to download static file"},
                                           KeepCase{"completionBeyondTheListedSize", -1, -1, false,
                                                    "Fail to download static file"},
                                           KeepCase{"userStops", -1, 0, true, nullptr}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// Only the listed size is the file: a copy of any other size names both counts and its part.
TEST_F(Download, aCopyOfAnotherSizeThanListedIsNotComplete) {
    startWith(20000);
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path, 19000});
    port->pump();
    EXPECT_FALSE(exchange->lastDownloadComplete());
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(view.messages.size(), 1);
    const QStringList lines = view.messages.front().split(QLatin1Char('\n'));
    EXPECT_EQ(lines,
              (QStringList{QStringLiteral("Fail to download static file"),
                           QStringLiteral("20000 bytes arrived; the receiver listed 19000."),
                           QStringLiteral("The part received is kept in %1.")
                               .arg(QDir::toNativeSeparators(path + QStringLiteral(".part")))}));
}

// The line hands over a block twice: the copy shares a chunk with the block or with a later
// reply, which no sound line does (a copy on its own would pass for the next block, and the size
// at the end gives it away, above). The download fails, the part stays and the user's file is
// untouched.
struct TwiceCase {
    const char* name;
    std::int32_t block;
    SimTime gap;
    const char* firstLine;
    int stops; // StopDownload frames sent
};

class BlockTwice : public Download, public ::testing::WithParamInterface<TwiceCase> {};

TEST_P(BlockTwice, failsTheDownloadAndKeepsThePart) {
    const TwiceCase& c = GetParam();
    FaultPlan faults;
    faults.downloadTwiceBlock = c.block;
    faults.downloadTwiceGap = c.gap;
    startWith(30000, faults);
    writeOldFile();
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path, 30000});
    port->pump();
    EXPECT_FALSE(exchange->lastDownloadComplete());
    EXPECT_FALSE(exchange->downloadRunning());
    EXPECT_EQ(view.downloadEnds, 1);
    EXPECT_TRUE(onDisk() == kOldContents);
    ASSERT_EQ(view.messages.size(), 1);
    const QStringList lines = view.messages.front().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.front(), QString::fromLatin1(c.firstLine));
    EXPECT_EQ(lines.back(), QStringLiteral("The part received is kept in %1.")
                                .arg(QDir::toNativeSeparators(path + QStringLiteral(".part"))));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".part")));
    EXPECT_EQ(port->countWrites(kStopDownload), c.stops);
    if (c.stops > 0) {
        EXPECT_EQ(view.tip, QString::fromLatin1(c.firstLine)); // in the tip line too
        EXPECT_TRUE(partial() == expectedPrefix(static_cast<std::uint32_t>(view.downloaded)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlockTwice,
    ::testing::Values(
        TwiceCase{"inTheSameChunk", 2, SimTime{0},
                  "The line delivered a reply that was not asked for: the download has failed", 1},
        TwiceCase{"firstBlockInTheSameChunk", 0, SimTime{0},
                  "The line delivered a reply that was not asked for: the download has failed", 1},
        // Later, the copy lands in the chunk of a later reply.
        TwiceCase{"copyALittleLater", 2, SimTime{200'000},
                  "The line delivered a reply that was not asked for: the download has failed", 1}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(Download, stopLeavesThePartialFileAndNoMoreBlocksAreAsked) {
    startWith(100000);
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path});
    port->pump(3); // ready and two blocks; the third is on its way when the user stops
    exchange->request(CommandId::StopDownload);
    port->pump();
    EXPECT_EQ(port->countWrites(kStopDownload), 1);
    EXPECT_EQ(port->countWrites(kNextBlock), 3);
    EXPECT_FALSE(exchange->downloadTargetOpen());
    EXPECT_EQ(view.downloadEnds, 1);
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_EQ(view.downloaded, 2u * 4095u);
    EXPECT_TRUE(partial() == expectedPrefix(2 * 4095));
}

struct UnwritableCase {
    const char* name;
    QString (*path)(const QTemporaryDir&);
    int blocksWritten;
};

class UnwritableTarget : public Download, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableTarget, isNamedInABoxAndTheDownloadIsStopped) {
    startWith(20000);
    path = GetParam().path(dir);
    if (path.endsWith(QStringLiteral("FULL.STH"))) {
        // The copy's file leads to a device that refuses every write.
        if (!QFileInfo::exists(QStringLiteral("/dev/full"))) {
            GTEST_SKIP() << "no /dev/full here";
        }
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path + QStringLiteral(".part")));
    }
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path});
    port->pump();
    ASSERT_EQ(view.messages.size(), 1);
    EXPECT_THAT(view.messages.front().toStdString(),
                ::testing::HasSubstr(QDir::toNativeSeparators(path).toStdString()));
    EXPECT_EQ(port->countWrites(kStopDownload), 1);
    EXPECT_EQ(view.downloadEnds, 1);
    EXPECT_EQ(view.blocks, GetParam().blocksWritten);
    EXPECT_FALSE(exchange->downloadTargetOpen());
    EXPECT_FALSE(link->emulator().store().downloading());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnwritableTarget,
    ::testing::Values(
        UnwritableCase{"folderMissing",
                       [](const QTemporaryDir& d) { return d.filePath("missing/BIG00001.STH"); },
                       0},
        UnwritableCase{"diskFull", [](const QTemporaryDir& d) { return d.filePath("FULL.STH"); },
                       0}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct LineEndCase {
    const char* name;
    int chunks; // delivered before the line ends: the ready status, then blocks
    void (*end)(CommandExchange&, InMemoryExchangePort&);
    bool lostBox;         // the loss is reported
    std::uint32_t blocks; // blocks kept in the part (-1: no part was created)
};

class LineEndsMidway : public Download, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndsMidway, keepsWhatArrivedAndLeavesThePageIdle) {
    const LineEndCase& c = GetParam();
    startWith(100000);
    exchange->request(CommandId::StartDownload,
                      requestargs::StartDownload{QStringLiteral("BIG00001"), path});
    port->pump(c.chunks);
    c.end(*exchange, *port);
    port->pump();
    EXPECT_FALSE(exchange->downloadTargetOpen());
    EXPECT_FALSE(exchange->downloadRunning());
    EXPECT_EQ(view.downloadEnds, 1);
    const QString part = path + QStringLiteral(".part");
    const bool partKept = c.blocks != static_cast<std::uint32_t>(-1);
    EXPECT_EQ(QFile::exists(part), partKept);
    if (partKept) {
        EXPECT_TRUE(partial() == expectedPrefix(c.blocks * 4095));
    }
    QStringList box;
    if (c.lostBox) {
        box << QStringLiteral("The receiver was lost: the download has stopped.");
        if (partKept) {
            box << QStringLiteral("The part received is kept in %1.")
                       .arg(QDir::toNativeSeparators(part));
        }
    }
    EXPECT_EQ(view.messages, c.lostBox ? QStringList{box.join(QLatin1Char('\n'))} : QStringList{});
}

void closeByUser(CommandExchange& e, InMemoryExchangePort&) {
    e.closePort();
}
void pullTheCable(CommandExchange&, InMemoryExchangePort& p) {
    p.shutdown();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineEndsMidway,
    ::testing::Values(LineEndCase{"userClosesThePort", 2, closeByUser, false, 1},
                      LineEndCase{"userClosesBeforeTheReceiverIsReady", 0, closeByUser, false,
                                  static_cast<std::uint32_t>(-1)},
                      LineEndCase{"deviceGoesAway", 2, pullTheCable, true, 1},
                      LineEndCase{"deviceGoesAwayBeforeTheFirstBlock", 1, pullTheCable, true, 0},
                      LineEndCase{"deviceGoesAwayBeforeTheReceiverIsReady", 0, pullTheCable, true,
                                  static_cast<std::uint32_t>(-1)}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
} // namespace kestrava::test
