#include "protocol/VoiceCommands.h"

#include "protocol/BuilderSupport.h"
#include "protocol/Checksums.h"

#include <algorithm>
#include <array>

namespace kestrava {

namespace {

constexpr std::size_t kBlockPayloadOffset = 6;
constexpr std::size_t kBlockSize = 32;
constexpr std::size_t kChecksumOffset = kBlockPayloadOffset + kBlockSize; // 38

static_assert(DecoderState::kVoiceBlockSize == kChecksumOffset + 3);

std::size_t buildVoiceSet(Bytes& out, ExpectedReply& expected, DecoderState& state,
                          std::size_t blockIndex, Byte value, std::int32_t kind) {
    auto& frame = state.voiceBlock;
    const std::array<Byte, kBlockPayloadOffset> header = {0x24, 0x24, 'I', 'K', kBlockSize, 0x00};
    std::copy(header.begin(), header.end(), frame.begin());
    frame[kBlockPayloadOffset + blockIndex] = value;
    frame[kChecksumOffset] = DollarChecksum(frame.data(), 2, kChecksumOffset - 1);
    frame[kChecksumOffset + 1] = 0x0D;
    frame[kChecksumOffset + 2] = 0x0A;
    out.assign(frame.begin(), frame.end());
    expected.arm('I', 'K', kind);
    return out.size();
}

} // namespace

std::size_t VoiceSwitch(Bytes& out, ExpectedReply& expected, VoiceSwitchCode code) {
    std::int32_t kind = KindNone;
    switch (code) {
    case VoiceSwitchCode::VoiceOn:
        kind = KindVoiceOn;
        break;
    case VoiceSwitchCode::VoiceOff:
        kind = KindVoiceOff;
        break;
    case VoiceSwitchCode::StaticVoiceOff:
        kind = KindStaticVoiceOff;
        break;
    }
    if (kind == KindNone) {
        return 0;
    }
    const std::array<Byte, 4> payload = {0xFF, 0xFF, static_cast<Byte>(code), 0xFF};
    return buildArmedDollar(out, expected, 'S', 'I', kind, payload);
}

std::size_t ReadStaticVoice(Bytes& out, ExpectedReply& expected) {
    const std::array<Byte, 1> payload = {0x01};
    return buildArmedDollar(out, expected, 'V', 'V', KindStaticVoice, payload);
}

std::size_t SetStaticVoice(Bytes& out, ExpectedReply& expected, bool on) {
    const std::array<Byte, 2> payload = {0x01, static_cast<Byte>(on ? 1 : 0)};
    return buildArmedDollar(out, expected, 'V', 'V', KindStaticVoiceSet, payload);
}

std::size_t ReadVoiceBlock(Bytes& out, ExpectedReply& expected, VoiceBlockRead purpose) {
    std::int32_t kind = KindVoiceBlockForSet;
    switch (purpose) {
    case VoiceBlockRead::ForSet:
        kind = KindVoiceBlockForSet;
        break;
    case VoiceBlockRead::RinexFlag:
        kind = KindRinexFlag;
        break;
    case VoiceBlockRead::VoiceTypeAndVolume:
        kind = KindVoiceParams;
        break;
    }
    return buildArmedDollar(out, expected, 'I', 'K', kind);
}

std::size_t SetVoiceType(Bytes& out, ExpectedReply& expected, DecoderState& state, Byte voiceType) {
    return buildVoiceSet(out, expected, state, 0, voiceType, KindVoiceTypeSet);
}

std::size_t SetRinexFlag(Bytes& out, ExpectedReply& expected, DecoderState& state, bool on) {
    return buildVoiceSet(out, expected, state, 1, on ? 1 : 0, KindRinexFlagSet);
}

std::size_t SetVolume(Bytes& out, ExpectedReply& expected, DecoderState& state, Byte volume) {
    return buildVoiceSet(out, expected, state, 31, volume, KindVolumeSet);
}

} // namespace kestrava
