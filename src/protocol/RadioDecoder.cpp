#include "protocol/RadioDecoder.h"

#include "protocol/ChannelTable.h"
#include "protocol/FieldReader.h"
#include "protocol/ReplyDelivery.h"

namespace kestrava {

namespace {

using Reset = ReplyDelivery::Reset;

constexpr std::size_t kTransmitOffset = 6;
constexpr std::size_t kReceiveOffset = 46;
// The table's last receive frequency ends at offset 77; the checksum follows at 86.
constexpr std::size_t kMinTableFrame = 86;
constexpr std::size_t kMinBaudFrame = 11;
constexpr Byte kBaud9600 = 0x55;

// Frequencies travel in units of 25 kHz.
float megahertz(std::uint32_t units) {
    return static_cast<float>(static_cast<double>(units) * 25.0 / 1000.0);
}

} // namespace

void RadioDecoder::decode(const Byte* frame, std::size_t length, ExpectedReply& expected,
                          DecoderState& /*state*/, ReplySink& sink) {
    if (frame == nullptr || length < 4) {
        return;
    }
    const FieldReader reader(frame, length);
    switch (frame[3]) {
    case 'b':
    case 'd':
        if (expected.kind == KindRadioChannelsSet) {
            ReplyDelivery::deliverValue(expected, sink, 0, KindRadioChannelsSet, Reset::Before);
        } else if (expected.kind == KindRadioChannels && length >= kMinTableFrame) {
            ChannelTable table;
            for (std::size_t i = 0; i < table.size(); ++i) {
                table[i].transmit = megahertz(reader.bigEndian16(kTransmitOffset + 2 * i));
                table[i].receive = megahertz(reader.bigEndian16(kReceiveOffset + 2 * i));
            }
            ReplyDelivery::deliver(expected, sink, ReplyData{&table}, KindRadioChannels,
                                   Reset::After);
        }
        break;
    case 'q':
        ReplyDelivery::deliverValue(expected, sink, 0, KindRadioAirBaudSet, Reset::After);
        break;
    case 's':
        if (length >= kMinBaudFrame) {
            const std::int32_t baud = frame[10] == kBaud9600 ? 9600 : 19200;
            ReplyDelivery::deliverValue(expected, sink, baud, KindRadioAirBaud, Reset::After);
        }
        break;
    default:
        break;
    }
}

} // namespace kestrava
