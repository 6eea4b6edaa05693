#include "protocol/Checksums.h"
#include "protocol/CommandFrame.h"

#include <gmock/gmock.h>

#include <vector>

namespace kestrava {
namespace {

using ::testing::ElementsAreArray;

TEST(DollarFrame, zeroPayloadFrameMatchesTheWorkedExample) {
    const std::vector<Byte> expected{0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A};
    EXPECT_THAT(CommandFrame::make('V', 'C'), ElementsAreArray(expected));
}

TEST(DollarFrame, onePayloadByteFrameMatchesTheWorkedExample) {
    const std::vector<Byte> payload{0x0A};
    const std::vector<Byte> expected{0x24, 0x24, 0x47, 0x51, 0x01, 0x00, 0x0A, 0x1D, 0x0D, 0x0A};
    EXPECT_THAT(CommandFrame::make('G', 'Q', payload), ElementsAreArray(expected));
}

TEST(DollarChecksum, leadingDollarsCancelSoEitherRangeGivesTheSameSum) {
    const std::vector<Byte> frame{0x24, 0x24, 0x47, 0x51, 0x01, 0x00, 0x0A};
    EXPECT_EQ(DollarChecksum(frame.data(), 0, 6), DollarChecksum(frame.data(), 2, 6));
    EXPECT_EQ(DollarChecksum(frame.data(), 2, 6), 0x1D);
}

TEST(RadioChecksum, coversEveryByteBeforeIt) {
    const std::vector<Byte> frame{0x96, 0x05, 0x80, 0x72, 0x00, 0x00};
    EXPECT_EQ(RadioChecksum(frame.data(), frame.size()), 0x61);
}

TEST(PacketChecksum, skipsTheStartByteAndIsZeroBelowTwoBytes) {
    const std::vector<Byte> request{0x02, 0x00, 0x06, 0x00};
    EXPECT_EQ(PacketChecksum(request.data(), 4), 0x06);
    EXPECT_EQ(PacketChecksum(request.data(), 1), 0x00);
    EXPECT_EQ(PacketChecksum(request.data(), 0), 0x00);
    const std::vector<Byte> wraps{0x02, 0xFF, 0x02};
    EXPECT_EQ(PacketChecksum(wraps.data(), 3), 0x01);
}

} // namespace
} // namespace kestrava
