#include "protocol/StreamSplitter.h"

#include "protocol/AsciiDecoder.h"
#include "protocol/Checksums.h"
#include "protocol/CommandFrame.h"
#include "protocol/DollarDispatcher.h"
#include "protocol/LastSentFrame.h"
#include "protocol/PacketDecoder.h"
#include "protocol/RadioDecoder.h"

namespace kestrava {

namespace {

constexpr Byte kRadioStart = 0x96;
constexpr Byte kRadioMarker = 0x80;
constexpr Byte kPacketStart = 0x02;
constexpr Byte kPacketSerialReply = 0x07;

// Passes replies on and notes whether one was delivered.
class DeliveryCount : public ReplySink {
public:
    explicit DeliveryCount(ReplySink& sink) : m_sink(sink) {}
    void onReply(const ReplyData& data, std::int32_t kind) override {
        ++m_count;
        m_sink.onReply(data, kind);
    }
    bool delivered() const { return m_count > 0; }

private:
    ReplySink& m_sink;
    int m_count = 0;
};

// Dollar frames. All bounds are written as additions on the left so that none of them can wrap
// for a chunk shorter than a header. A frame with the armed header that the decoder does not take
// (a wrong checksum, the wrong shape) and a copy of the program's own frame on an echoing line
// are passed over; the search goes on behind them.
void splitDollar(const Byte* chunk, std::size_t count, ExpectedReply& expected, DecoderState& state,
                 ReplySink& sink) {
    const Byte cls = expected.replyClass;
    const Byte sub = expected.replySub;
    const bool copiesCount = LastSentFrame::answerCopiesCommand(expected.kind);
    for (std::size_t i = 0; i + 5 < count; ++i) {
        if (chunk[i] != CommandFrame::kDollar || chunk[i + 1] != CommandFrame::kDollar ||
            chunk[i + 2] != cls || chunk[i + 3] != sub) {
            continue;
        }
        if (const std::size_t copy = state.sent.copyAt(chunk + i, count - i);
            copy > 0 && !copiesCount) {
            i += copy - 1; // the echo of a command, not its answer
            continue;
        }
        // Frame length without CR LF. 'V','S' answers have a fixed size; 'V','X' and 'I','C'
        // answers carry no usable length and are taken up to the end of the chunk.
        std::size_t frameLength = 0;
        if (cls == 'V' && sub == 'S') {
            frameLength = 8;
        } else if ((cls == 'V' && sub == 'X') || (cls == 'I' && sub == 'C')) {
            frameLength = count - i;
        } else {
            frameLength = CommandFrame::payloadLength(chunk + i) + 7;
        }
        if (frameLength > count - i) {
            continue; // incomplete here, or a length that does not hold: look further
        }
        const Bytes frame(chunk + i, chunk + i + frameLength);
        DeliveryCount counted(sink);
        DollarDispatcher::decode(frame.data(), frame.size(), expected, state, counted);
        if (counted.delivered()) {
            return; // the rest of the chunk is no answer to what is awaited now
        }
    }
}

// Radio frames: the first one that is not a copy of the program's own command (an echoing line
// returns the command, which has the same shape) is the answer.
void splitRadio(const Byte* chunk, std::size_t count, ExpectedReply& expected, DecoderState& state,
                ReplySink& sink) {
    for (std::size_t j = 0; j + 2 < count; ++j) {
        if (chunk[j] != kRadioStart || chunk[j + 1] == 0 || chunk[j + 2] != kRadioMarker) {
            continue;
        }
        if (const std::size_t copy = state.sent.copyAt(chunk + j, count - j); copy > 0) {
            j += copy - 1;
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
