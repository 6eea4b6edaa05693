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

struct JoinCase {
    const char* name;
    Bytes stream;
    std::vector<std::size_t> cuts; // the chunk boundaries
    std::vector<bool> handedOver;  // per chunk: whether bytes go to the splitter
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
        const bool handed = joiner.join(c.stream.data() + from, to - from, out);
        EXPECT_EQ(handed, static_cast<bool>(c.handedOver[k])) << "chunk " << k;
        from = to;
    }
    EXPECT_EQ(out, c.last);
    EXPECT_FALSE(joiner.holding());
}

Bytes noiseThen(const Bytes& tail) {
    Bytes bytes = {'$', 'G', 'P', 'X', '\r', '\n'};
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Joining,
    ::testing::Values(
        JoinCase{"wholeBlock", frame(4095), {}, {true}, frame(4095)},
        JoinCase{"cutAfterTheReadSize", frame(4095), {4096}, {false, true}, frame(4095)},
        JoinCase{"cutInsideTheHeader", frame(100), {3}, {false, true}, frame(100)},
        JoinCase{"cutTwice", frame(4095), {10, 2000}, {false, false, true}, frame(4095)},
        // What came before the cut block is not kept: only the block is waited for.
        JoinCase{"noiseBeforeACutBlock", noiseThen(frame(50)), {20}, {false, true}, frame(50)},
        // Lengths that cannot be a block go to the splitter as they stand.
        JoinCase{"emptyPayload",
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x00, 0x2C},
                 {},
                 {true},
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x00, 0x2C}},
        JoinCase{"lengthBeyondABlock",
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x10, 1},
                 {},
                 {true},
                 Bytes{0x24, 0x24, 0x46, 0x74, 0x00, 0x10, 1}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(DownloadChunkJoiner, resetForgetsAKeptPiece) {
    DownloadChunkJoiner joiner;
    const Bytes block = frame(200);
    Bytes out;
    EXPECT_FALSE(joiner.join(block.data(), 50, out));
    joiner.reset();
    EXPECT_FALSE(joiner.holding());
    EXPECT_TRUE(joiner.join(block.data(), block.size(), out));
    EXPECT_EQ(out, block);
}

} // namespace
} // namespace kestrava
