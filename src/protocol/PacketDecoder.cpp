#include "protocol/PacketDecoder.h"

#include "protocol/FieldReader.h"
#include "protocol/ReplyDelivery.h"

namespace kestrava {

void PacketDecoder::decode(const Byte* packet, std::size_t length, ExpectedReply& expected,
                           DecoderState& /*state*/, ReplySink& sink) {
    if (packet == nullptr || length < kMinPacket) {
        return;
    }
    const FieldReader reader(packet, length);
    const Byte version[4] = {reader.byte(22), '.', reader.byte(23), reader.byte(24)};
    const TextTriple info{reader.text(49, 10), reader.text(12, 8),
                          FieldReader(version, sizeof version).text(0, sizeof version)};
    ReplyDelivery::deliver(expected, sink, ReplyData{&info}, KindBoardSerialPacket,
                           ReplyDelivery::Reset::After);
}

} // namespace kestrava
