#include "protocol/StreamSplitter.h"

#include "protocol/RecordingReplySink.h"
#include "protocol/ReplyFrames.h"

#include <gtest/gtest.h>

namespace kestrava::test {
namespace {

class SplitChunkTest : public ::testing::Test {
protected:
    ExpectedReply expected;
    DecoderState state;
    RecordingReplySink sink{expected};

    // Each chunk is split from its own exactly-sized allocation, so that a read past its end is
    // caught by the address sanitizer.
    void split(const Bytes& chunk) {
        const Bytes exact(chunk.begin(), chunk.end());
        SplitChunk(exact.empty() ? nullptr : exact.data(), exact.size(), expected, state, sink);
    }
};

Bytes head(const Bytes& b, std::size_t n) {
    return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
}
Bytes tail(const Bytes& b, std::size_t from) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.end());
}

TEST_F(SplitChunkTest, findsTheFirstCompleteReplyOfTheArmedFraming) {
    const Bytes fj = dollar('F', 'J', bytes({5, 10}));
    Bytes badSum = fj;
    badSum[8] ^= 0x01;
    const Bytes packet = serialPacket(serialPacketData("5012345678", "BOARD1", "412"));
    Bytes packetBadSum = packet;
    packetBadSum[packetBadSum.size() - 2] ^= 0x01;
    const Bytes baud = radio('s', Bytes(7, 0x55));
    const struct {
        const char* what;
        std::int32_t mode;
        char cls, sub;
        std::int32_t kind;
        Bytes chunk;
        std::optional<std::int32_t> value; // the value delivered, or nothing
    } cases[] = {
        {"first of two", 0, 'F', 'J', 12, fj + dollar('F', 'J', bytes({7, 20})), 5},
        {"after garbage and another reply", 0, 'F', 'J', 12,
         text("$GPGGA,1*7A\r\n$$") + dollar('G', 'C', bytes({1})) + dollar('F', 'J', bytes({7, 2})),
         7},
        {"first part of a cut frame", 0, 'F', 'J', 12, head(fj, 7), {}},
        {"second part of a cut frame", 0, 'F', 'J', 12, tail(fj, 7), {}},
        {"length beyond the chunk",
         0,
         'F',
         'J',
         12,
         bytes({0x24, 0x24, 'F', 'J', 0xFF, 0xFF, 1}),
         {}},
        {"wrong checksum", 0, 'F', 'J', 12, badSum, {}},
        {"block answer after other bytes", 0, 'V', 'X', 31,
         bytes({0x0D, 0x24, 0x24, 'V', 'X', 1, 1}), 10},
        {"whole-chunk reply at the start", 0, 'V', 'X', 31, bytes({0x24, 0x24, 'V', 'X', 1, 1}),
         10},
        {"password answer after other bytes", 0, 'I', 'C', 34,
         text("x") + dollar('I', 'C', bytes({0})), 0},
        {"firmware start answer is 8 bytes", 0, 'V', 'S', 30,
         bytes({0x41, 0x24, 0x24, 'V', 'S', 1, 0, 0, 1, 0xEE}), 2},
        {"radio frame after other bytes", 1, 0, 0, 4, bytes({0x96, 0x00, 0x96, 0x05, 0x81}) + baud,
         9600},
        {"dollar reply while radio is awaited", 1, 'F', 'J', 12, fj, {}},
        {"packet after the request echo", 2, 0, 0, 9,
         bytes({0x02, 0x00, 0x06, 0x00, 0x06, 0x03}) + packet, -1},
        {"packet with a wrong checksum", 2, 0, 0, 9, packetBadSum, {}},
        {"packet with a wrong end byte", 2, 0, 0, 9,
         head(packet, packet.size() - 1) + bytes({0x7F}), -1},
        {"idle", 4, 'F', 'J', 12, fj, {}},
        {"unknown mode", 7, 'F', 'J', 12, fj, {}},
        {"version text", 3, 0, 0, 10, text("\r\n#VERSION \"M\",\"S\",\"H\",\"V\""), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sink.deliveries.clear();
        expected.arm(static_cast<Byte>(c.cls), static_cast<Byte>(c.sub), c.kind, c.mode);
        split(c.chunk);
        ASSERT_EQ(sink.deliveries.size(), c.value ? 1u : 0u);
        if (c.value && *c.value >= 0) {
            EXPECT_EQ(sink.only().kind, c.kind);
            EXPECT_EQ(sink.only().value ? *sink.only().value : sink.only().ints->first, *c.value);
        }
    }
}

// Chunks shorter than any header, and every prefix of a valid reply of each framing, must be
// handled without reading past the chunk and without a delivery.
TEST_F(SplitChunkTest, everyPrefixOfAReplyIsSafeAndYieldsNothing) {
    const struct {
        std::int32_t mode;
        Byte cls, sub;
        std::int32_t kind;
        Bytes reply;
    } cases[] = {
        {FRAMING_DOLLAR, 'F', 'J', KindCollectParams, dollarFrame('F', 'J', bytes({5, 10}))},
        {FRAMING_DOLLAR, 'V', 'S', KindFirmwareStart, bytes({0x24, 0x24, 'V', 'S', 1, 0, 0, 0})},
        {FRAMING_RADIO, 0, 0, KindRadioAirBaud, radio('s', Bytes(7, 0x55))},
        {FRAMING_PACKET, 0, 0, KindBoardSerialPacket,
         serialPacket(serialPacketData("1", "T", "123"))},
    };
    for (const auto& c : cases) {
        for (std::size_t n = 0; n <= c.reply.size(); ++n) {
            sink.deliveries.clear();
            expected.arm(c.cls, c.sub, c.kind, c.mode);
            split(head(c.reply, n));
            EXPECT_EQ(sink.deliveries.size(), n == c.reply.size() ? 1u : 0u) << c.kind << " " << n;
        }
    }
}

// A 98-layout firmware block as the program writes it: 256 bytes for address 0x40008000.
Bytes firmwareBlock() {
    Bytes block = bytes({0x24, 0x24, 'V', 'X', 0x01, 0x00, 0x40, 0x00, 0x80, 0x00});
    Byte sum = 0;
    for (int i = 0; i < 256; ++i) {
        block.push_back(static_cast<Byte>(i));
        sum ^= static_cast<Byte>(i);
    }
    block.push_back(sum);
    return block;
}

// The receiver's answer must be found whatever shares the chunk with it: NMEA sentences the
// receiver streams, a late answer of another command, and the copy of the command that an
// echoing line sends back first. The copy alone is no answer.
TEST_F(SplitChunkTest, theAnswerIsFoundAmongNmeaSentencesAndTheEchoOfTheCommand) {
    const Bytes nmea =
        text("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
    const Bytes lateHandshake = bytes({0x24, 0x24, 'V', 'S', 1, 98, 0, 0, 0x35, 0x0D, 0x0A});
    const Bytes login(32, '0');
    const struct {
        const char* what;
        char cls, sub;
        std::int32_t kind;
        Bytes command;
        Bytes answer;
        std::int32_t value; // -1: a record
    } commands[] = {
        {"collect params read", 'F', 'J', KindCollectParams, dollar('F', 'J'),
         dollar('F', 'J', bytes({5, 10})), -1},
        {"collect params set", 'F', 'J', KindCollectParamsSet, dollar('F', 'J', bytes({5, 10})),
         dollar('F', 'J', bytes({0})), 0},
        {"handshake", 'V', 'S', KindFirmwareStart,
         bytes({0x24, 0x24, 'V', 'S', 1, 0, 1, 5, 0x0D, 0x0A}), lateHandshake, 1},
        {"block", 'V', 'X', KindFirmwareBlock, firmwareBlock(),
         bytes({0x24, 0x24, 'V', 'X', 1, 0, 0x40, 0x00, 0x80, 0x00, 0x1A, 0x0D, 0x0A}), 0},
        {"remote password", 'I', 'C', KindRemotePasswordSet, dollar('I', 'C', login),
         dollar('I', 'C', bytes({0})), 0},
    };
    for (const auto& c : commands) {
        const struct {
            const char* how;
            Bytes chunk;
            bool answered;
        } arrangements[] = {
            {"alone", c.answer, true},
            {"after NMEA", nmea + c.answer, true},
            {"before NMEA", c.answer + nmea, true},
            {"between NMEA", nmea + c.answer + nmea, true},
            {"after a late handshake answer", lateHandshake + nmea + c.answer, true},
            {"after the echo", c.command + c.answer, true},
            {"after the echo and NMEA", c.command + nmea + c.answer, true},
            {"echo only", c.command, false},
            {"echo cut short", head(c.command, c.command.size() - 1), false},
        };
        for (const auto& a : arrangements) {
            SCOPED_TRACE(std::string(c.what) + ", " + a.how);
            sink.deliveries.clear();
            state = DecoderState{};
            state.firmwareHardwareCode = 98;
            state.firmwareAddress = 0x40008100;
            state.firmwareLastLength = 256;
            state.sent.note(c.command.data(), c.command.size());
            expected.arm(static_cast<Byte>(c.cls), static_cast<Byte>(c.sub), c.kind);
            split(a.chunk);
            ASSERT_EQ(sink.deliveries.size(), a.answered ? 1u : 0u);
            if (a.answered) {
                EXPECT_EQ(sink.only().kind, c.kind);
                if (c.value >= 0) {
                    EXPECT_EQ(sink.only().value, c.value);
                }
            }
        }
    }
}

TEST_F(SplitChunkTest, aRadioAnswerIsFoundBehindTheEchoOfItsCommand) {
    // ReadAirBaud as written, then the radio's answer for 9600 baud.
    const Bytes command = bytes({0x96, 0x05, 0x80, 'r', 0x00, 0x00, 0x00});
    state.sent.note(command.data(), command.size());
    expected.arm(0, 0, KindRadioAirBaud, FRAMING_RADIO);
    split(command + radio('s', Bytes(7, 0x55)));
    ASSERT_EQ(sink.deliveries.size(), 1u);
    EXPECT_EQ(sink.only().value, 9600);
}

TEST_F(SplitChunkTest, anAnswerThatRepeatsItsCommandIsTakenEvenRightAfterTheCommand) {
    // The receiver answers the internal radio connection with the command's own bytes: without
    // a second copy nothing tells the answer from an echo, and it is taken.
    const Bytes connect = dollar('G', 'Q', bytes({0x0A}));
    for (const Bytes& chunk : {connect, connect + connect}) {
        sink.deliveries.clear();
        state.sent.note(connect.data(), connect.size());
        expected.arm('G', 'Q', KindRadioConnected);
        split(chunk);
        ASSERT_EQ(sink.deliveries.size(), 1u);
        EXPECT_EQ(sink.only().kind, KindRadioConnected);
    }
}

} // namespace
} // namespace kestrava::test
