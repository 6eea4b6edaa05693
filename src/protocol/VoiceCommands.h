#pragma once

#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kestrava {

// Builders of the voice prompt commands and of the receiver's 32-byte voice block, of which
// byte 0 is the voice type, byte 1 the RINEX recording flag and byte 31 the volume. Same
// contract as the other dollar builders: out is replaced with the exact bytes to write,
// expected is armed and the number of bytes to write is returned.

// The codes of VoiceSwitch and the kinds they arm.
enum class VoiceSwitchCode : Byte {
    VoiceOn = 0xAA,        // kind 35
    VoiceOff = 0x55,       // kind 36
    StaticVoiceOff = 0xBB, // kind 45
};

// 'S','I' with FF FF code FF. Kind 35, 36 or 45 by the code. 13 bytes. A value that is none of
// the three codes builds nothing and returns 0, leaving out and expected untouched.
std::size_t VoiceSwitch(Bytes& out, ExpectedReply& expected, VoiceSwitchCode code);
// The form of the VoiceSwitch row that a code sends (its kind and tip), or none for a value that
// is none of the three codes.
std::optional<std::size_t> voiceSwitchForm(VoiceSwitchCode code);

// 'V','V' 0x01. Kind 50. 10 bytes.
std::size_t ReadStaticVoice(Bytes& out, ExpectedReply& expected);

// 'V','V' 0x01 then 1 (on) or 0 (off). Kind 51. 11 bytes.
std::size_t SetStaticVoice(Bytes& out, ExpectedReply& expected, bool on);

// What a read of the voice block is for; it decides the kind armed.
enum class VoiceBlockRead {
    ForSet,             // kind 40: the reply refreshes DecoderState::voiceBlock for a set
    RinexFlag,          // kind 41: show the RINEX flag
    VoiceTypeAndVolume, // kind 44: show voice type and volume
};

// 'I','K', empty. Kind 40, 41 or 44 by purpose. 9 bytes. Which set follows a ForSet read is
// remembered by the caller, not here.
std::size_t ReadVoiceBlock(Bytes& out, ExpectedReply& expected, VoiceBlockRead purpose);

// The three setters never build the block from scratch: each takes the block last read for a
// set (state.voiceBlock, refreshed by the reply to a ForSet read), rewrites it in place into the
// 41-byte 'I','K' set frame (header 24 24 49 4B 20 00, the one payload byte replaced, the
// checksum of bytes 2 to 37 in byte 38, CR LF in 39 and 40) and copies that frame to out. Every
// other byte of the block goes back to the receiver as it was read. 41 bytes.

// Byte 0, the voice type. Kind 43.
std::size_t SetVoiceType(Bytes& out, ExpectedReply& expected, DecoderState& state, Byte voiceType);

// Byte 1, the RINEX recording flag (1 = on). Kind 42.
std::size_t SetRinexFlag(Bytes& out, ExpectedReply& expected, DecoderState& state, bool on);

// Byte 31, the volume (1 to 10). Kind 48.
std::size_t SetVolume(Bytes& out, ExpectedReply& expected, DecoderState& state, Byte volume);

} // namespace kestrava
