// A session traced against the emulator, then replayed: the replay must decode what the session
// decoded, and a trace cut off by a crash replays up to its last whole line.
#include "cli/TraceReplay.h"
#include "support/ServedEmulator.h"
#include "support/VerbRun.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

namespace kestrava {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct TraceLine {
    std::string event;
    std::string hex;
    std::string comment;
};

std::vector<TraceLine> lines(const std::string& text) {
    std::vector<TraceLine> result;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> fields;
        std::string field;
        std::istringstream split(line);
        while (std::getline(split, field, '\t')) {
            fields.push_back(field);
        }
        fields.resize(4);
        result.push_back({fields[1], fields[2], fields[3]});
    }
    return result;
}

// The kind names a session's recv lines record, in order.
std::vector<std::string> sessionKinds(const std::vector<TraceLine>& trace) {
    std::vector<std::string> kinds;
    for (const TraceLine& line : trace) {
        if (line.event != "recv") {
            continue;
        }
        std::istringstream words(line.comment);
        std::string word;
        while (words >> word) {
            if (word.rfind("Kind", 0) == 0) {
                kinds.push_back(word);
            }
        }
    }
    return kinds;
}

// The kind names a replay printed, in order.
std::vector<std::string> replayKinds(const std::string& printed) {
    std::vector<std::string> kinds;
    const std::string marker = "reply kind ";
    for (auto at = printed.find(marker); at != std::string::npos;
         at = printed.find(marker, at + 1)) {
        const auto open = printed.find('(', at);
        const auto close = printed.find(')', open);
        kinds.push_back(printed.substr(open + 1, close - open - 1));
    }
    return kinds;
}

class TraceReplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        tracePath = QDir(folder.path()).filePath(QStringLiteral("session.trace")).toStdString();
    }

    int runTraced(const std::vector<std::string>& verb) {
        const test::VerbRun run = test::runVerb(served.devicePath(), verb, tracePath);
        errors = run.err;
        return run.status;
    }

    QTemporaryDir folder;
    std::string tracePath;
    test::ServedEmulator served;
    std::string errors;
};

TEST_F(TraceReplayTest, replayingATracedSessionGivesTheRepliesTheSessionDecoded) {
    ASSERT_EQ(runTraced({"info"}), 0) << errors;
    const std::string text = readFile(tracePath);
    const std::vector<TraceLine> trace = lines(text);

    // Every kind of event is there, and sent frames carry the command's name.
    std::vector<std::string> events;
    for (const TraceLine& line : trace) {
        events.push_back(line.event);
    }
    EXPECT_THAT(events, Contains("open"));
    EXPECT_THAT(events, Contains("close"));
    ASSERT_FALSE(trace.empty());
    const auto firstSend = std::find_if(trace.begin(), trace.end(),
                                        [](const TraceLine& l) { return l.event == "send"; });
    ASSERT_NE(firstSend, trace.end());
    EXPECT_EQ(firstSend->hex, "24 24 56 43 00 00 15 0d 0a");
    EXPECT_THAT(firstSend->comment, HasSubstr("ReadMainInfo"));

    const std::vector<std::string> recorded = sessionKinds(trace);
    EXPECT_THAT(recorded, Contains("KindMainInfo"));

    std::istringstream in(text);
    std::ostringstream printed;
    TraceReplay::Summary summary;
    std::string error;
    ASSERT_TRUE(TraceReplay::run(in, printed, summary, error)) << error;
    EXPECT_FALSE(summary.truncated);
    EXPECT_THAT(replayKinds(printed.str()), ElementsAreArray(recorded));
}

TEST_F(TraceReplayTest, aTraceCutOffInItsLastLineReplaysUpToTheLastWholeLine) {
    ASSERT_EQ(runTraced({"info"}), 0) << errors;
    std::string text = readFile(tracePath);
    // Cut the trace in the middle of its last received chunk, as a crash would.
    const auto lastRecv = text.rfind("\trecv\t");
    ASSERT_NE(lastRecv, std::string::npos);
    const auto lineStart = text.rfind('\n', lastRecv) + 1;
    const auto cut = text.find(' ', lastRecv + 6);
    ASSERT_NE(cut, std::string::npos);
    const std::string whole = text.substr(0, lineStart);
    const std::string truncated = text.substr(0, cut);

    std::istringstream wholeIn(whole);
    std::ostringstream wholePrinted;
    TraceReplay::Summary wholeSummary;
    std::string error;
    ASSERT_TRUE(TraceReplay::run(wholeIn, wholePrinted, wholeSummary, error)) << error;

    std::istringstream cutIn(truncated);
    std::ostringstream cutPrinted;
    TraceReplay::Summary cutSummary;
    ASSERT_TRUE(TraceReplay::run(cutIn, cutPrinted, cutSummary, error)) << error;
    EXPECT_TRUE(cutSummary.truncated);
    EXPECT_EQ(cutPrinted.str(), wholePrinted.str());
    EXPECT_EQ(cutSummary.chunks, wholeSummary.chunks);
}

TEST(TraceReplay, aMalformedLineIsNamedAndNothingIsGuessed) {
    std::istringstream in("# note\n1.000\tsend\t24 zz\tReadMainInfo\n");
    std::ostringstream out;
    TraceReplay::Summary summary;
    std::string error;
    EXPECT_FALSE(TraceReplay::run(in, out, summary, error));
    EXPECT_THAT(error, HasSubstr("line 2"));
    EXPECT_THAT(out.str(), IsEmpty());
}

TEST_F(TraceReplayTest, aTraceThatCannotBeWrittenIsSaidOnceAndTheVerbFails) {
    tracePath = "/dev/full";
    EXPECT_NE(runTraced({"info"}), 0);
    const std::string said = "the trace could not be written to \"/dev/full\"";
    const auto first = errors.find(said);
    ASSERT_NE(first, std::string::npos) << errors;
    EXPECT_EQ(errors.find(said, first + 1), std::string::npos) << errors;
}

TEST(TraceReplay, badLinesAreRefusedWithTheirNumber) {
    const struct {
        const char* what;
        const char* line;
    } cases[] = {
        {"class not hex", "1.0\tsend\t24 24 56 43 00 00 15 0d 0a\tReadMainInfo; awaits class zz "
                          "sub 43 kind 1 mode 0"},
        {"sub too large", "1.0\tsend\t24 24\tX; awaits class 56 sub 1ff kind 1 mode 0"},
        {"sub far too large",
         "1.0\tsend\t24 24\tX; awaits class 56 sub 99999999999999999999 kind 1 mode 0"},
        {"kind not a number", "1.0\tsend\t24 24\tX; awaits class 56 sub 43 kind one mode 0"},
        {"cut after class", "1.0\tsend\t24 24\tX; awaits class 56"},
        {"bytes not hex", "1.0\trecv\t24 2g\tnothing awaited"},
        {"too few fields", "1.0\trecv\t24 24"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::istringstream in(std::string("# note\n0.5\topen\t\tsim\n") + c.line + "\n");
        std::ostringstream out;
        TraceReplay::Summary summary;
        std::string error;
        EXPECT_FALSE(TraceReplay::run(in, out, summary, error));
        EXPECT_THAT(error, HasSubstr("line 3"));
    }
}

TEST(TraceReplay, maskedPasswordsAreReadAndTheirChunksOnlyCounted) {
    std::istringstream in(
        "1.0\tsend\t24 24 47 41 64 00 61 *** 11 0d 0a\tSetApnParams; awaits class 47 sub 41 "
        "kind 23 mode 0\n"
        "2.0\trecv\t24 24 47 41 01 00 00 07 0d 0a\tKindApnParamsSet\n"
        "3.0\tsend\t24 24 47 41 00 00 06 0d 0a\tReadApnParams; awaits class 47 sub 41 kind 22 "
        "mode 0\n"
        "4.0\trecv\t24 24 47 41 64 00 61 *** 11 0d 0a\tKindApnParams\n");
    std::ostringstream out;
    TraceReplay::Summary summary;
    std::string error;
    ASSERT_TRUE(TraceReplay::run(in, out, summary, error)) << error;
    EXPECT_EQ(summary.chunks, 2);
    EXPECT_EQ(summary.masked, 1);
    EXPECT_EQ(summary.replies, 1);
}

TEST(TraceReplay, aFolderIsNoTrace) {
    QTemporaryDir folder;
    const test::VerbRun replay = test::runCli({"replay", folder.path().toStdString()});
    EXPECT_EQ(replay.status, 1);
    EXPECT_THAT(replay.err, HasSubstr("is a folder"));
}

TEST(TraceReplay, aChunkArrivingWhileNothingIsAwaitedDecodesNothing) {
    // The main information reply with nothing armed: the program only echoes such input.
    std::istringstream in("0.5\trecv\t24 24 56 43 00 00 15 0d 0a\tnothing awaited\n");
    std::ostringstream out;
    TraceReplay::Summary summary;
    std::string error;
    ASSERT_TRUE(TraceReplay::run(in, out, summary, error)) << error;
    EXPECT_EQ(summary.chunks, 1);
    EXPECT_EQ(summary.replies, 0);
    EXPECT_THAT(out.str(), Not(HasSubstr("reply kind")));
}

} // namespace
} // namespace kestrava
