#include "protocol/VoiceCommands.h"

#include "protocol/BuilderSupport.h"
#include "protocol/Checksums.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kestrava {

namespace {

constexpr std::size_t kBlockPayloadOffset = 6;
constexpr std::size_t kBlockSize = 32;
constexpr std::size_t kChecksumOffset = kBlockPayloadOffset + kBlockSize; // 38

static_assert(DecoderState::kVoiceBlockSize == kChecksumOffset + 3);

std::size_t buildVoiceSet(Bytes& out, ExpectedReply& expected, DecoderState& state,
                          std::size_t blockIndex, Byte value, CommandId id) {
    const CommandRow& entry = CommandTable::row(id);
    auto& frame = state.voiceBlock;
    const std::array<Byte, kBlockPayloadOffset> header = {0x24,      0x24,       entry.cls,
                                                          entry.sub, kBlockSize, 0x00};
    std::copy(header.begin(), header.end(), frame.begin());
    frame[kBlockPayloadOffset + blockIndex] = value;
    frame[kChecksumOffset] = DollarChecksum(frame.data(), 2, kChecksumOffset - 1);
    frame[kChecksumOffset + 1] = 0x0D;
    frame[kChecksumOffset + 2] = 0x0A;
    out.assign(frame.begin(), frame.end());
    armFor(expected, entry);
    return out.size();
}

} // namespace

std::size_t VoiceSwitch(Bytes& out, ExpectedReply& expected, VoiceSwitchCode code) {
    const std::optional<std::size_t> form = voiceSwitchForm(code);
    if (!form) {
        return 0;
    }
    const std::array<Byte, 4> payload = {0xFF, 0xFF, static_cast<Byte>(code), 0xFF};
    return buildArmedDollar(out, expected, CommandId::VoiceSwitch, payload, *form);
}

std::optional<std::size_t> voiceSwitchForm(VoiceSwitchCode code) {
    const CommandRow& entry = CommandTable::row(CommandId::VoiceSwitch);
    for (std::size_t form = 0; form < entry.variantCount; ++form) {
        if (entry.variant(form).code == static_cast<Byte>(code)) {
            return form;
        }
    }
    return std::nullopt;
}

std::size_t ReadStaticVoice(Bytes& out, ExpectedReply& expected) {
    return buildArmedDollarCode(out, expected, CommandId::ReadStaticVoice);
}

std::size_t SetStaticVoice(Bytes& out, ExpectedReply& expected, bool on) {
    const std::array<Byte, 2> payload = {
        CommandTable::row(CommandId::ReadStaticVoice).variant().code,
        static_cast<Byte>(on ? 1 : 0)};
    return buildArmedDollar(out, expected, CommandId::SetStaticVoice, payload, on ? 1 : 0);
}

std::size_t ReadVoiceBlock(Bytes& out, ExpectedReply& expected, VoiceBlockRead purpose) {
    return buildArmedDollar(out, expected, CommandId::ReadVoiceBlock, {},
                            static_cast<std::size_t>(purpose));
}

std::size_t SetVoiceType(Bytes& out, ExpectedReply& expected, DecoderState& state, Byte voiceType) {
    return buildVoiceSet(out, expected, state, 0, voiceType, CommandId::SetVoiceType);
}

std::size_t SetRinexFlag(Bytes& out, ExpectedReply& expected, DecoderState& state, bool on) {
    return buildVoiceSet(out, expected, state, 1, on ? 1 : 0, CommandId::SetRinexFlag);
}

std::size_t SetVolume(Bytes& out, ExpectedReply& expected, DecoderState& state, Byte volume) {
    return buildVoiceSet(out, expected, state, 31, volume, CommandId::SetVolume);
}

} // namespace kestrava
