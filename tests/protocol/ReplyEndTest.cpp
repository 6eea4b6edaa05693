// When the bytes received so far hold the whole awaited reply.
#include "protocol/ReplyEnd.h"
#include "protocol/ExpectedReply.h"
#include "protocol/FramingMode.h"
#include "protocol/LastSentFrame.h"
#include "protocol/ReplyKind.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrava {
namespace {

struct Case {
    const char* what;
    Byte cls;
    Byte sub;
    std::int32_t kind;
    std::int32_t mode;
    Bytes reply;   // exactly one whole reply, trailer included
    bool knowable; // false: never complete, the quiet line decides
};

TEST(ReplyEnd, aReplyIsCompleteAtItsLastByteAndNotBefore) {
    // Replies as the receiver sends them, restated byte for byte.
    const std::vector<Case> cases = {
        {"dollar frame with length",
         'F',
         'J',
         12,
         FRAMING_DOLLAR,
         {0x24, 0x24, 0x46, 0x4A, 0x02, 0x00, 0x05, 0x0A, 0x01, 0x0D, 0x0A},
         true},
        {"handshake answer",
         'V',
         'S',
         KindFirmwareStart,
         FRAMING_DOLLAR,
         {0x24, 0x24, 0x56, 0x53, 0x01, 0x62, 0x00, 0x00, 0x34, 0x0D, 0x0A},
         true},
        {"block answer",
         'V',
         'X',
         KindFirmwareBlock,
         FRAMING_DOLLAR,
         {0x24, 0x24, 0x56, 0x58, 0x01, 0x00, 0x40, 0x00, 0x8D, 0x0A, 0x77, 0x0D, 0x0A},
         true},
        {"motherboard packet",
         0,
         0,
         9,
         FRAMING_PACKET,
         {0x02, 0x00, 0x07, 0x03, 0x41, 0x42, 0x43, 0x55, 0x03},
         true},
        {"radio frame", 0, 0, 3, FRAMING_RADIO, {0x96, 0x04, 0x80, 0x01, 0x02, 0x03}, true},
        {"remote password answer",
         'I',
         'C',
         KindRemotePasswordSet,
         FRAMING_DOLLAR,
         {0x24, 0x24, 0x49, 0x43, 0x00, 0x0D, 0x0A},
         false},
        {"version text", 0, 0, 10, FRAMING_ASCII, {'l', 'o', 'g', '\r', '\n'}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectedReply expected;
        expected.arm(c.cls, c.sub, c.kind, c.mode);
        for (std::size_t n = 1; n <= c.reply.size(); ++n) {
            const bool whole = c.knowable && n == c.reply.size();
            EXPECT_EQ(ReplyEnd::complete(expected, c.reply.data(), n), whole) << n;
        }
        // With nothing awaited no reply is ever complete.
        expected.reset();
        EXPECT_FALSE(ReplyEnd::complete(expected, c.reply.data(), c.reply.size()));
    }
}

TEST(ReplyEnd, anAnswerAfterOtherBytesIsCompleteButTheEchoOfTheCommandIsNot) {
    const Bytes nmea{'$', 'G', 'P', 'G', 'G', 'A', ',', '1', '*', '7', 'A', 0x0D, 0x0A};
    const Bytes lateHandshake{0x24, 0x24, 0x56, 0x53, 0x01, 0x62, 0x00, 0x00, 0x35, 0x0D, 0x0A};
    const Bytes answer{0x24, 0x24, 0x56, 0x58, 0x01, 0x00, 0x40,
                       0x00, 0x81, 0x00, 0x3A, 0x0D, 0x0A};
    Bytes block{0x24, 0x24, 0x56, 0x58, 0x01, 0x00, 0x40, 0x00, 0x80, 0x00};
    block.resize(267, 0x0D); // data that ends like a trailer, and no checksum to tell
    block.back() = 0x0A;
    const auto join = [](std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const Bytes& part : parts) {
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    };
    LastSentFrame sent;
    sent.note(block.data(), block.size());
    ExpectedReply expected;
    expected.arm('V', 'X', KindFirmwareBlock);
    const struct {
        const char* what;
        Bytes chunk;
        bool complete;
    } cases[] = {
        {"after a late handshake answer", join({lateHandshake, answer}), true},
        {"after NMEA", join({nmea, answer}), true},
        {"after the echo", join({block, answer}), true},
        {"echo only", block, false},
        {"echo and NMEA", join({block, nmea}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReplyEnd::complete(expected, c.chunk.data(), c.chunk.size(), &sent), c.complete);
    }
}

} // namespace
} // namespace kestrava
