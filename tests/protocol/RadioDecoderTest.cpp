#include "protocol/RadioDecoder.h"

#include "protocol/RecordingReplySink.h"
#include "protocol/ReplyFrames.h"

#include <gtest/gtest.h>

namespace kestrava::test {
namespace {

class RadioDecoderTest : public ::testing::Test {
protected:
    ExpectedReply expected;
    DecoderState state;
    RecordingReplySink sink{expected};

    void decode(std::int32_t armed, const Bytes& frame) {
        expected.arm(0, 0, armed, FRAMING_RADIO);
        const Bytes exact(frame.begin(), frame.end());
        RadioDecoder::decode(exact.empty() ? nullptr : exact.data(), exact.size(), expected, state,
                             sink);
    }
};

// The table body: two zero bytes, 16 transmit words, 8 zero bytes, 16 receive words, 8 zeros.
Bytes tableBody(std::uint16_t transmit0, std::uint16_t receive15) {
    Bytes body(82, 0);
    body[2] = static_cast<Byte>(transmit0 >> 8);
    body[3] = static_cast<Byte>(transmit0);
    body[42 + 30] = static_cast<Byte>(receive15 >> 8);
    body[42 + 31] = static_cast<Byte>(receive15);
    return body;
}

TEST_F(RadioDecoderTest, theChannelTableIsDecodedInUnitsOf25Kilohertz) {
    const Bytes frame = radio('b', tableBody(0x485D, 0x4858));
    ASSERT_EQ(frame.size(), 87u);
    decode(KindRadioChannels, frame);
    ASSERT_TRUE(sink.only().channels);
    EXPECT_FLOAT_EQ((*sink.only().channels)[0].transmit, 463.125f);
    EXPECT_FLOAT_EQ((*sink.only().channels)[15].receive, 463.0f);
    EXPECT_FLOAT_EQ((*sink.only().channels)[1].transmit, 0.0f);
    EXPECT_FALSE(sink.only().seen.isIdle());
    EXPECT_TRUE(expected.isIdle());
}

TEST_F(RadioDecoderTest, repliesByCodeAndArmedKind) {
    const struct {
        std::int32_t armed;
        Bytes frame;
        std::int32_t kind; // 0: nothing delivered
        std::int32_t value;
        bool seenIdle;
    } cases[] = {
        {KindRadioChannelsSet, radio('b', Bytes(2, 0)), KindRadioChannelsSet, 0, true},
        {KindRadioChannelsSet, radio('d', Bytes(2, 0)), KindRadioChannelsSet, 0, true},
        {KindRadioChannels, radio('d', Bytes(80, 0)), 0, 0, false}, // one byte short of the table
        {KindRadioAirBaud, radio('b', Bytes(82, 0)), 0, 0, false},
        {KindRadioChannels, radio('q', Bytes(2, 0)), KindRadioAirBaudSet, 0, false},
        {KindRadioAirBaud, radio('q', {}), KindRadioAirBaudSet, 0, false},
        {KindRadioAirBaud, radio('s', Bytes(7, 0x55)), KindRadioAirBaud, 9600, false},
        {KindRadioAirBaud, radio('s', Bytes(7, 0x40)), KindRadioAirBaud, 19200, false},
        {KindRadioAirBaud, radio('s', Bytes(5, 0x55)), 0, 0, false},
        {KindRadioAirBaud, radio('x', Bytes(7, 0x55)), 0, 0, false},
        {KindRadioAirBaud, bytes({0x96, 0x01, 0x80}), 0, 0, false},
    };
    for (const auto& c : cases) {
        sink.deliveries.clear();
        decode(c.armed, c.frame);
        ASSERT_EQ(sink.deliveries.size(), c.kind ? 1u : 0u) << c.frame[3];
        if (c.kind) {
            EXPECT_EQ(sink.only().kind, c.kind);
            EXPECT_EQ(sink.only().value, c.value);
            EXPECT_EQ(sink.only().seen.isIdle(), c.seenIdle);
            EXPECT_TRUE(expected.isIdle());
        }
    }
}

} // namespace
} // namespace kestrava::test
