#include "protocol/AsciiDecoder.h"
#include "protocol/PacketDecoder.h"

#include "protocol/RecordingReplySink.h"
#include "protocol/ReplyFrames.h"

#include <gtest/gtest.h>

namespace kestrava::test {
namespace {

class BoardDecodersTest : public ::testing::Test {
protected:
    ExpectedReply expected;
    DecoderState state;
    RecordingReplySink sink{expected};

    void packet(const Bytes& p) {
        expected.arm(0, 0, KindBoardSerialPacket, FRAMING_PACKET);
        const Bytes exact(p.begin(), p.end());
        PacketDecoder::decode(exact.data(), exact.size(), expected, state, sink);
    }
    void ascii(std::string_view chunk) {
        expected.arm(0, 0, KindBoardVersionText, FRAMING_ASCII);
        const Bytes exact(chunk.begin(), chunk.end());
        AsciiDecoder::decode(exact.data(), exact.size(), expected, state, sink);
    }
};

// --- Serial reply packet --------------------------------------------------------------------

TEST_F(BoardDecodersTest, aSerialPacketYieldsSerialTypeAndVersion) {
    packet(serialPacket(serialPacketData("5012345678", "BOARD1", "412")));
    ASSERT_TRUE(sink.only().triple);
    EXPECT_EQ(*sink.only().triple, (TextTriple{"5012345678", "BOARD1", "4.12"}));
    EXPECT_FALSE(sink.only().seen.isIdle());
    EXPECT_TRUE(expected.isIdle());
}

TEST_F(BoardDecodersTest, aPacketThatEndsBeforeTheSerialFieldIsNotDelivered) {
    Bytes p = serialPacket(serialPacketData("5012345678", "BOARD1", "412"));
    p.resize(58);
    packet(p);
    p.resize(3);
    packet(p);
    EXPECT_TRUE(sink.deliveries.empty());
    EXPECT_FALSE(expected.isIdle());
}

// --- Version log ----------------------------------------------------------------------------

TEST_F(BoardDecodersTest, versionLogFieldsAreWalkedUntilTheFirstEmptyOne) {
    const struct {
        std::string_view chunk;
        bool delivered;
        TextTriple fields; // {serial, model, software}
    } cases[] = {
        {"\r\n#VERSION,COM1,0;1,CARD,\"M1\",\"S123\",\"H\",\"4.5\",\"B\"\r\n",
         true,
         {"S123", "M1", "4.5"}},
        {"VERSION \"M1\",\"S123\",\"H\",\"4.5\"", false, {}},
        {"<OK\r\nno version here", false, {}},
        {"#VERSION \"M1\",\"\",\"H\",\"4.5\"", true, {"", "M1", ""}},
        {"#VERSION \"M1\",\"S1\",\"\",\"4.5\"", true, {"S1", "M1", ""}},
        {"#VERSION \"M1\",\"S1\",\"H\",\"4.5", true, {"S1", "M1", ""}},
        {"#VERSION", true, {}},
    };
    for (const auto& c : cases) {
        sink.deliveries.clear();
        ascii(c.chunk);
        ASSERT_EQ(sink.deliveries.size(), c.delivered ? 1u : 0u) << c.chunk;
        if (c.delivered) {
            EXPECT_EQ(*sink.only().triple, c.fields) << c.chunk;
        }
    }
}

} // namespace
} // namespace kestrava::test
