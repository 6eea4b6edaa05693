#include "protocol/StreamSplitter.h"

#include "protocol/AsciiDecoder.h"
#include "protocol/Checksums.h"
#include "protocol/CommandFrame.h"
#include "protocol/DollarDispatcher.h"
#include "protocol/PacketDecoder.h"
#include "protocol/RadioDecoder.h"

namespace kestrava {

namespace {

constexpr Byte kRadioStart = 0x96;
constexpr Byte kRadioMarker = 0x80;
constexpr Byte kPacketStart = 0x02;
constexpr Byte kPacketSerialReply = 0x07;

// Dollar frames. All bounds are written as additions on the left so that none of them can wrap
// for a chunk shorter than a header.
void splitDollar(const Byte* chunk, std::size_t count, ExpectedReply& expected, DecoderState& state,
                 ReplySink& sink) {
    const Byte cls = expected.replyClass;
    const Byte sub = expected.replySub;
    for (std::size_t i = 0; i + 5 < count; ++i) {
        if (chunk[i] != CommandFrame::kDollar || chunk[i + 1] != CommandFrame::kDollar ||
            chunk[i + 2] != cls || chunk[i + 3] != sub) {
            continue;
        }
        // Frame length without CR LF. 'V','S' answers have a fixed size; 'V','X' and 'I','C'
        // answers carry no usable length and are taken as the whole chunk, so they are found
        // only at its first byte.
        std::size_t frameLength = 0;
        if (cls == 'V' && sub == 'S') {
            frameLength = 8;
        } else if ((cls == 'V' && sub == 'X') || (cls == 'I' && sub == 'C')) {
            frameLength = count;
        } else {
            frameLength = CommandFrame::payloadLength(chunk + i) + 7;
        }
        if (frameLength > count - i) {
            return; // incomplete in this chunk
        }
        const Bytes frame(chunk + i, chunk + i + frameLength);
        DollarDispatcher::decode(frame.data(), frame.size(), expected, state, sink);
        return;
    }
}

void splitRadio(const Byte* chunk, std::size_t count, ExpectedReply& expected, DecoderState& state,
                ReplySink& sink) {
    for (std::size_t j = 0; j + 2 < count; ++j) {
        if (chunk[j] != kRadioStart || chunk[j + 1] == 0 || chunk[j + 2] != kRadioMarker) {
            continue;
        }
        const std::size_t frameLength = static_cast<std::size_t>(chunk[j + 1]) + 2;
        if (frameLength > count - j) {
            return;
        }
        const Bytes frame(chunk + j, chunk + j + frameLength);
        RadioDecoder::decode(frame.data(), frame.size(), expected, state, sink);
        return;
    }
}

void splitPacket(const Byte* chunk, std::size_t count, ExpectedReply& expected, DecoderState& state,
                 ReplySink& sink) {
    for (std::size_t k = 0; k + 3 < count; ++k) {
        if (chunk[k] != kPacketStart || chunk[k + 2] != kPacketSerialReply) {
            continue;
        }
        const std::size_t dataLength = chunk[k + 3];
        const std::size_t packetLength = dataLength + 6;
        if (packetLength > count - k) {
            return;
        }
        const Bytes packet(chunk + k, chunk + k + packetLength);
        if (PacketChecksum(packet.data(), 4 + dataLength) == packet[4 + dataLength]) {
            PacketDecoder::decode(packet.data(), packet.size(), expected, state, sink);
        }
        return;
    }
}

} // namespace

void SplitChunk(const Byte* chunk, std::size_t count, ExpectedReply& expected, DecoderState& state,
                ReplySink& sink) {
    if (chunk == nullptr || count == 0) {
        return;
    }
    switch (expected.mode) {
    case FRAMING_DOLLAR:
        splitDollar(chunk, count, expected, state, sink);
        break;
    case FRAMING_RADIO:
        splitRadio(chunk, count, expected, state, sink);
        break;
    case FRAMING_PACKET:
        splitPacket(chunk, count, expected, state, sink);
        break;
    case FRAMING_ASCII:
        AsciiDecoder::decode(chunk, count, expected, state, sink);
        break;
    default:
        break; // FRAMING_IDLE: nothing is awaited
    }
}

} // namespace kestrava
