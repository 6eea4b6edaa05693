// Drives the stream splitter, and through it every reply decoder, with arbitrary chunks under
// every armed reply and framing.
//
// Input layout (shorter inputs are padded with zeros):
//   0      which reply is armed: index into kArmings (modulo its size)
//   1      flags: bits 0-2 a framing mode that replaces the armed one when bit 3 is set;
//          bit 4 replaces the armed class and sub bytes with bytes 2 and 3; bit 5 also hands the
//          chunk straight to the decoder of the mode (lengths that the splitter never produces);
//          bit 6 makes the handler arm another command from inside the delivery
//   2, 3   class and sub bytes (with bit 4)
//   4      hardware code of the firmware being sent
//   5      refusals of the current firmware block so far (modulo 5)
//   6-9    running firmware address, big-endian
//   10-11  length of the last firmware block, big-endian
//   12-    the chunk
#include "protocol/AsciiDecoder.h"
#include "protocol/DollarDispatcher.h"
#include "protocol/PacketDecoder.h"
#include "protocol/RadioDecoder.h"
#include "protocol/StreamSplitter.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <variant>
#include <vector>

namespace {

using namespace kestrava;

struct Arming {
    std::int32_t kind;
    Byte cls;
    Byte sub;
    std::int32_t mode;
};

constexpr Arming kArmings[] = {
    {KindMainInfo, 'V', 'C', FRAMING_DOLLAR},
    {KindRadioConnected, 'G', 'Q', FRAMING_DOLLAR},
    {KindSnrTest, 'G', 'Q', FRAMING_DOLLAR},
    {KindNetBand, 'G', 'F', FRAMING_DOLLAR},
    {KindNetBandSet, 'G', 'F', FRAMING_DOLLAR},
    {KindNetParams, 'G', 'C', FRAMING_DOLLAR},
    {KindNetParamsSet, 'G', 'C', FRAMING_DOLLAR},
    {KindApnParams, 'G', 'A', FRAMING_DOLLAR},
    {KindApnParamsSet, 'G', 'A', FRAMING_DOLLAR},
    {KindWifiSet, 'G', 'Y', FRAMING_DOLLAR},
    {KindRemotePasswordSet, 'I', 'C', FRAMING_DOLLAR},
    {KindCollectParams, 'F', 'J', FRAMING_DOLLAR},
    {KindCollectParamsSet, 'F', 'J', FRAMING_DOLLAR},
    {KindStoreLocation, 'F', 'E', FRAMING_DOLLAR},
    {KindStoreLocationSet, 'F', 'E', FRAMING_DOLLAR},
    {KindFileNaming, 'F', 'K', FRAMING_DOLLAR},
    {KindFileNamingSet, 'F', 'K', FRAMING_DOLLAR},
    {KindFileList, 'F', 'M', FRAMING_DOLLAR},
    {KindFilesDeleted, 'F', 'D', FRAMING_DOLLAR},
    {KindFilesFormatted, 'F', 'D', FRAMING_DOLLAR},
    {KindRecordingState, 'F', 'C', FRAMING_DOLLAR},
    {KindDownload, 'F', 't', FRAMING_DOLLAR},
    {KindDownloadStop, 'F', 't', FRAMING_DOLLAR},
    {KindVoiceOn, 'S', 'I', FRAMING_DOLLAR},
    {KindVoiceOff, 'S', 'I', FRAMING_DOLLAR},
    {KindStaticVoiceOff, 'S', 'I', FRAMING_DOLLAR},
    {KindStaticVoice, 'V', 'V', FRAMING_DOLLAR},
    {KindStaticVoiceSet, 'V', 'V', FRAMING_DOLLAR},
    {KindVoiceBlockForSet, 'I', 'K', FRAMING_DOLLAR},
    {KindRinexFlag, 'I', 'K', FRAMING_DOLLAR},
    {KindRinexFlagSet, 'I', 'K', FRAMING_DOLLAR},
    {KindVoiceTypeSet, 'I', 'K', FRAMING_DOLLAR},
    {KindVoiceParams, 'I', 'K', FRAMING_DOLLAR},
    {KindVolumeSet, 'I', 'K', FRAMING_DOLLAR},
    {KindFirmwareStart, 'V', 'S', FRAMING_DOLLAR},
    {KindFirmwareBlock, 'V', 'X', FRAMING_DOLLAR},
    {KindRadioChannels, 0, 0, FRAMING_RADIO},
    {KindRadioAirBaud, 0, 0, FRAMING_RADIO},
    {KindRadioChannelsSet, 0, 0, FRAMING_RADIO},
    {KindRadioAirBaudSet, 0, 0, FRAMING_RADIO},
    {KindBoardSerialPacket, 0, 0, FRAMING_PACKET},
    {KindBoardVersionText, 0, 0, FRAMING_ASCII},
    {KindNone, 0, 0, FRAMING_IDLE},
};
constexpr std::size_t kArmingCount = sizeof kArmings / sizeof kArmings[0];
constexpr std::size_t kHeaderSize = 12;

// A handler that reads every byte of whatever it is handed, so that the sanitizers see any
// pointer into freed or foreign memory, and that may send a follow-up command meanwhile.
class TouchingSink : public ReplySink {
public:
    TouchingSink(ExpectedReply& expected, bool rearm) : m_expected(expected), m_rearm(rearm) {}

    void onReply(const ReplyData& data, std::int32_t kind) override {
        m_sum += static_cast<unsigned>(kind);
        std::visit([this](const auto& v) { touchValue(v); }, data);
        if (m_rearm) {
            m_expected.arm('F', 'M', KindFileList);
        }
    }

    unsigned sum() const { return m_sum; }

private:
    void touch(const ByteString& s) {
        for (const char c : s) {
            m_sum += static_cast<unsigned char>(c);
        }
    }
    void touch(const Byte* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            m_sum += p[i];
        }
    }
    void touchValue(std::int32_t v) { m_sum += static_cast<unsigned>(v); }
    void touchValue(const MainInfoRecord* r) {
        touch(r->serialNumber);
        touch(r->receiverVersion);
        touch(r->moduleHardwareVersion);
        touch(r->moduleFirmwareVersion);
        m_sum += r->receiverTypeCode + r->byte16 + r->sFlag + r->gprsModuleCode + r->eFlag +
                 static_cast<unsigned>(r->motherboardCode);
    }
    void touchValue(const ChannelTable* t) {
        for (const ChannelPair& p : *t) {
            m_sum += static_cast<unsigned>(p.transmit) + static_cast<unsigned>(p.receive);
        }
    }
    void touchValue(IntPair p) { m_sum += static_cast<unsigned>(p.first + p.second); }
    void touchValue(BytePair p) { m_sum += p.first + p.second; }
    void touchValue(const TextPair* p) {
        touch(p->first);
        touch(p->second);
    }
    void touchValue(const TextTriple* t) {
        touch(t->first);
        touch(t->second);
        touch(t->third);
    }
    void touchValue(std::span<const FileListRow> rows) {
        for (const FileListRow& r : rows) {
            touch(r.name);
            touch(r.sizeText);
            m_sum += r.sizeBytes + r.fatTime + r.fatDate;
        }
    }
    void touchValue(const NetParams* n) {
        touch(n->phoneNumber);
        touch(n->apnName);
        touch(n->vrsName);
        touch(n->vrsPassword);
        touch(n->sourceNode);
        touch(n->url);
        touch(n->ip.data(), n->ip.size());
        m_sum += static_cast<unsigned>(n->port + n->groupId1);
    }
    void touchValue(DownloadBlock b) {
        touch(b.frame, 6); // the header the handler may look at
        const auto payload = b.payload();
        touch(payload.data(), payload.size());
    }

    ExpectedReply& m_expected;
    bool m_rearm;
    unsigned m_sum = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Byte header[kHeaderSize] = {};
    for (std::size_t i = 0; i < kHeaderSize && i < size; ++i) {
        header[i] = data[i];
    }
    const Byte flags = header[1];

    const Arming& arming = kArmings[header[0] % kArmingCount];
    ExpectedReply expected;
    expected.arm(arming.cls, arming.sub, arming.kind, arming.mode);
    if (flags & 0x08) {
        expected.mode = flags & 0x07;
    }
    if (flags & 0x10) {
        expected.replyClass = header[2];
        expected.replySub = header[3];
    }

    DecoderState state;
    state.firmwareHardwareCode = header[4];
    state.firmwareRetryCount = header[5] % 5;
    state.firmwareAddress = (static_cast<std::uint32_t>(header[6]) << 24) |
                            (static_cast<std::uint32_t>(header[7]) << 16) |
                            (static_cast<std::uint32_t>(header[8]) << 8) | header[9];
    state.firmwareLastLength = (static_cast<std::uint32_t>(header[10]) << 8) | header[11];

    // The chunk in an allocation of exactly its size.
    const std::vector<Byte> chunk(size > kHeaderSize ? data + kHeaderSize : data,
                                  size > kHeaderSize ? data + size : data);
    const Byte* bytes = chunk.empty() ? nullptr : chunk.data();

    TouchingSink sink(expected, (flags & 0x40) != 0);
    const ExpectedReply armed = expected;
    SplitChunk(bytes, chunk.size(), expected, state, sink);

    if (flags & 0x20) {
        expected = armed;
        switch (expected.mode) {
        case FRAMING_DOLLAR:
            DollarDispatcher::decode(bytes, chunk.size(), expected, state, sink);
            break;
        case FRAMING_RADIO:
            RadioDecoder::decode(bytes, chunk.size(), expected, state, sink);
            break;
        case FRAMING_PACKET:
            PacketDecoder::decode(bytes, chunk.size(), expected, state, sink);
            break;
        case FRAMING_ASCII:
            AsciiDecoder::decode(bytes, chunk.size(), expected, state, sink);
            break;
        default:
            break;
        }
    }

    volatile unsigned keep = sink.sum() + state.voiceBlock[DecoderState::kVoiceBlockSize - 1];
    (void)keep;
    return 0;
}
