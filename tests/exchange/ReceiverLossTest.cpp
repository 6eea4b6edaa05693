#include "exchange/ExchangeFixture.h"

#include <algorithm>

namespace kestrava::test {
namespace {

// A receiver that goes away (cable pulled) is forgotten as thoroughly as one the user closes:
// the next receiver must not inherit its static-only lock, its motherboard or its voice block.
TEST_F(ExchangeFixture, aLostStaticReceiverLeavesNothingBehindForTheNextOne) {
    start(*ReceiverProfile::named("static"));
    openAndPump();
    ASSERT_TRUE(exchange->staticOnly());
    // Read the voice block, then set the volume from the block read.
    exchange->request(RequestChain::Volume, requestargs::SetVolume{5});
    port->pump();
    ASSERT_NE(exchange->decoderState().voiceBlock[0], 0xFF);

    port->shutdown(); // the device goes away: the exchange never closed it
    port->pump();

    EXPECT_FALSE(exchange->portOpen());
    EXPECT_FALSE(exchange->staticOnly());
    EXPECT_FALSE(view.panel.has_value());
    const DecoderState& state = exchange->decoderState();
    EXPECT_EQ(state.motherboardCode, MOTHERBOARD_OTHER);
    EXPECT_EQ(state.moduleCode, 0);
    EXPECT_TRUE(std::all_of(state.voiceBlock.begin(), state.voiceBlock.end(),
                            [](Byte b) { return b == 0xFF; }));
}

TEST_F(ExchangeFixture, aReceiverReadAfterALossIsJudgedByItsOwnReply) {
    start(*ReceiverProfile::named("static"));
    openAndPump();
    port->shutdown();
    port->pump();
    ASSERT_FALSE(exchange->staticOnly());

    openAndPump(); // the same static receiver comes back: its reply sets the lock again
    EXPECT_TRUE(exchange->staticOnly());
    ASSERT_TRUE(view.panel.has_value());
    EXPECT_TRUE(view.panel->staticOnly);
}

} // namespace
} // namespace kestrava::test
