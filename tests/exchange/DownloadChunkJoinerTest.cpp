// Download blocks handed over by the line in pieces are joined before they are split.
#include "exchange/DownloadChunkJoiner.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrava {
namespace {

// A download reply: 24 24 46 74, the payload length (little-endian), the payload, a checksum
// byte (not checked here) and CR LF.
Bytes frame(std::size_t payload) {
    Bytes bytes = {
        0x24, 0x24, 0x46, 0x74, static_cast<Byte>(payload & 0xFF), static_cast<Byte>(payload >> 8)};
    for (std::size_t i = 0; i < payload; ++i) {
        bytes.push_back(static_cast<Byte>(i * 7));
    }
    bytes.insert(bytes.end(), {0x00, 0x0D, 0x0A});
    return bytes;
}

using Result = DownloadChunkJoiner::Result;
constexpr Result kReady = Result::Ready;
constexpr Result kHeld = Result::Held;
constexpr Result kSeveral = Result::SeveralFrames;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes tailOf(const Bytes& bytes, std::size_t offset) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset), bytes.end());
}

struct JoinCase {
    const char* name;
    Bytes stream;
    std::vector<std::size_t> cuts; // the chunk boundaries
    std::vector<Result> results;   // per chunk
    Bytes last;                    // what the last chunk hands over
};

class Joining : public ::testing::TestWithParam<JoinCase> {};

TEST_P(Joining, handsOverWholeFramesAndKeepsCutOnes) {
    const JoinCase& c = GetParam();
    DownloadChunkJoiner joiner;
    std::size_t from = 0;
    Bytes out;
    for (std::size_t k = 0; k <= c.cuts.size(); ++k) {
        const std::size_t to = k < c.cuts.size() ? c.cuts[k] : c.stream.size();
        EXPECT_EQ(joiner.join(c.stream.data() + from, to - from, out), c.results[k])
            << "chunk " << k;
        from = to;
    }
    EXPECT_EQ(out, c.last);
    EXPECT_FALSE(joiner.holding());
}

// A block whose payload holds the bytes of a frame header: only the frame's length counts.
Bytes blockHoldingAHeader() {
    Bytes bytes = frame(40);
    const Bytes inner = {0x24, 0x24, 0x46, 0x74, 0x05, 0x00};
    std::copy(inner.begin(), inner.end(), bytes.begin() + 10);
    return bytes;
}

Bytes noiseThen(const Bytes& tail) {
    Bytes bytes = {'$', 'G', 'P', 'X', '\r', '\n'};
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Joining,
    ::testing::Values(
        JoinCase{"wholeBlock", frame(4095), {}, {kReady}, frame(4095)},
        JoinCase{"cutAfterTheReadSize", frame(4095), {4096}, {kHeld, kReady}, frame(4095)},
        JoinCase{"cutInsideTheHeader", frame(100), {3}, {kHeld, kReady}, frame(100)},
        JoinCase{"cutTwice", frame(4095), {10, 2000}, {kHeld, kHeld, kReady}, frame(4095)},
        // What came before the cut block is not kept: only the block is waited for.
        JoinCase{"noiseBeforeACutBlock", noiseThen(frame(50)), {20}, {kHeld, kReady}, frame(50)},
        JoinCase{"headerBytesInsideAPayload",
                 blockHoldingAHeader(),
                 {},
                 {kReady},
                 blockHoldingAHeader()},
        // A sentence after the block, even cut after its '$', is no second reply.
        JoinCase{"sentenceAfterABlock",
                 frame(20) + noiseThen({}),
                 {},
                 {kReady},
                 frame(20) + noiseThen({})},
        JoinCase{"dollarAfterABlock", frame(20) + Bytes{'$'}, {}, {kReady}, frame(20) + Bytes{'$'}},
        // Two replies in one chunk: the line delivered one that was not asked for.
        JoinCase{"blockTwice", frame(300) + frame(300), {}, {kSeveral}, frame(300) + frame(300)},
        JoinCase{"blockThenStatus", frame(300) + frame(1), {}, {kSeveral}, frame(300) + frame(1)},
        JoinCase{"secondBlockCut",
                 frame(300) + frame(300),
                 {400},
                 {kSeveral, kReady},
                 tailOf(frame(300), 91)},
        JoinCase{"secondHeaderCut",
                 frame(300) + Bytes{0x24, 0x24},
                 {},
                 {kSeveral},
                 frame(300) + Bytes{0x24, 0x24}},
        JoinCase{"joinedBlockThenAnother",
                 frame(300) + frame(300),
                 {100},
                 {kHeld, kSeveral},
                 frame(300) + frame(300)},
        // Lengths that cannot be a block go to the splitter as they stand.
        JoinCase{"emptyPayload",
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x00, 0x2C},
                 {},
                 {kReady},
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x00, 0x2C}},
        JoinCase{"lengthBeyondABlock",
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x10, 1},
                 {},
                 {kReady},
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x10, 1}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(DownloadChunkJoiner, resetForgetsAKeptPiece) {
    DownloadChunkJoiner joiner;
    const Bytes block = frame(200);
    Bytes out;
    EXPECT_EQ(joiner.join(block.data(), 50, out), kHeld);
    joiner.reset();
    EXPECT_FALSE(joiner.holding());
    EXPECT_EQ(joiner.join(block.data(), block.size(), out), kReady);
    EXPECT_EQ(out, block);
}

} // namespace
} // namespace kestrava
