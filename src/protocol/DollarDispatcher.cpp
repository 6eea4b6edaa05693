#include "protocol/DollarDispatcher.h"

#include "protocol/Checksums.h"
#include "protocol/CommandFrame.h"
#include "protocol/CommandTable.h"
#include "protocol/FieldReader.h"
#include "protocol/FileListDecoder.h"
#include "protocol/MainInfoDecoder.h"
#include "protocol/NetParamsDecoder.h"
#include "protocol/ReplyDelivery.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

namespace kestrava {

namespace {

using Reset = ReplyDelivery::Reset;

// Header (6) and checksum (1): the smallest frame that can pass the checksum test.
constexpr std::size_t kMinCheckedFrame = 7;
constexpr std::size_t kPayloadOffset = 6;
constexpr std::size_t kMaxDownloadBlock = 4095;
constexpr std::size_t kVoiceBlockPayload = 32;

// Whether expected awaits the reply of that command, as its row arms it.
bool armedFor(const ExpectedReply& expected, CommandId id) {
    const CommandRow& entry = CommandTable::row(id);
    return expected.replyClass == entry.cls && expected.replySub == entry.sub &&
           expected.kind == entry.kind();
}

// The payload of a checked frame: the bytes between the header and the checksum.
FieldReader payloadOf(const Byte* frame, std::size_t length) {
    return FieldReader(frame + kPayloadOffset, length - kMinCheckedFrame);
}

// "payload byte 0 is 0" answers of the setters. The frame length test, not the payload length,
// decides, so an empty answer is judged by the byte after its header.
std::int32_t zeroStatusIsSuccess(const Byte* frame, std::size_t length) {
    return length >= 7 && frame[6] == 0 ? 1 : 0;
}

// The remote password answer is taken from its start to the end of the chunk. It confirms the
// change only when those bytes begin with one complete dollar frame whose checksum is right and
// whose status byte, if it carries one, is 0: 0 confirmed, 1 anything else (a cut, garbled or
// refusing answer).
std::int32_t remotePasswordOutcome(const Byte* frame, std::size_t length) {
    if (length < kMinCheckedFrame) {
        return 1;
    }
    const std::size_t payloadLength = frame[4] | (static_cast<std::size_t>(frame[5]) << 8);
    const std::size_t checksumAt = kPayloadOffset + payloadLength;
    if (checksumAt >= length || DollarChecksum(frame, 2, checksumAt - 1) != frame[checksumAt]) {
        return 1;
    }
    return payloadLength == 0 || frame[kPayloadOffset] == 0 ? 0 : 1;
}

} // namespace

void DollarDispatcher::decode(const Byte* frame, std::size_t length, ExpectedReply& expected,
                              DecoderState& state, ReplySink& sink) {
    if (frame == nullptr) {
        return;
    }
    // Answers of the firmware loader and of the remote password carry no usable checksum.
    if (armedFor(expected, CommandId::FirmwareStart)) {
        decodeFirmwareStart(frame, length, expected, state, sink);
        return;
    }
    if (armedFor(expected, CommandId::FirmwareBlock)) {
        decodeFirmwareBlock(frame, length, expected, state, sink);
        return;
    }
    if (armedFor(expected, CommandId::SetRemotePassword)) {
        ReplyDelivery::deliverValue(expected, sink, remotePasswordOutcome(frame, length),
                                    KindRemotePasswordSet, Reset::Before);
        return;
    }
    if (length < kMinCheckedFrame || DollarChecksum(frame, 2, length - 2) != frame[length - 1]) {
        return;
    }
    decodeChecked(frame, length, expected, state, sink);
}

void DollarDispatcher::decodeFirmwareStart(const Byte* frame, std::size_t length,
                                           ExpectedReply& expected, DecoderState& state,
                                           ReplySink& sink) {
    if (length < 8 || frame[4] != 1) {
        return;
    }
    // 0: the receiver runs another hardware than the image is made for; otherwise the speed it
    // asks for plus one (1 normal, 2 and more fast).
    const std::int32_t value = static_cast<std::int32_t>(frame[5]) != state.firmwareHardwareCode
                                   ? 0
                                   : static_cast<std::int32_t>(frame[7]) + 1;
    ReplyDelivery::deliverValue(expected, sink, value, KindFirmwareStart, Reset::Before);
}

void DollarDispatcher::decodeFirmwareBlock(const Byte* frame, std::size_t length,
                                           ExpectedReply& expected, DecoderState& state,
                                           ReplySink& sink) {
    if (length < 6 || frame[4] != 1) {
        return;
    }
    const Byte status = frame[5];
    switch (status) {
    case 0: {
        if (length < 10) {
            return;
        }
        // The receiver echoes the address of the block it accepted; with the length of that
        // block it must give the address the transfer has reached.
        const std::uint32_t accepted = FieldReader(frame, length).bigEndian32(6);
        if (accepted + state.firmwareLastLength == state.firmwareAddress) {
            state.firmwareRetryCount = 0;
            ReplyDelivery::deliverValue(expected, sink, 0, KindFirmwareBlock, Reset::None);
        } else {
            ReplyDelivery::deliverValue(expected, sink, 5, KindFirmwareBlock, Reset::Before);
        }
        break;
    }
    case 1:
    case 2:
        // A refused block is sent again up to three times; the fourth refusal ends the transfer.
        if (state.firmwareRetryCount > 2) {
            state.firmwareRetryCount = 0;
            ReplyDelivery::deliverValue(expected, sink, status, KindFirmwareBlock, Reset::Before);
        } else {
            // Counted before the delivery so that the handler sees the count of this refusal.
            state.firmwareRetryCount += 1;
            ReplyDelivery::deliverValue(expected, sink, 10, KindFirmwareBlock, Reset::None);
        }
        break;
    default:
        ReplyDelivery::deliverValue(expected, sink, 3, KindFirmwareBlock, Reset::Before);
        break;
    }
}

void DollarDispatcher::decodeDownload(const Byte* frame, std::size_t length,
                                      ExpectedReply& expected, ReplySink& sink) {
    const std::size_t stated = CommandFrame::payloadLength(frame);
    const std::size_t present = length - kMinCheckedFrame;
    if (stated == 0 || stated > kMaxDownloadBlock) {
        ReplyDelivery::deliverValue(expected, sink, 0, KindDownloadFailed, Reset::Before);
        return;
    }
    if (stated > present) {
        return; // a block that claims more bytes than the frame holds is never handed on
    }
    if (stated >= 2) {
        const DownloadBlock block{frame, stated};
        ReplyDelivery::deliver(expected, sink, ReplyData{block}, KindDownloadBlock, Reset::None);
        return;
    }
    switch (frame[kPayloadOffset]) {
    case 0:
        ReplyDelivery::deliverValue(expected, sink, 0, KindDownloadReady, Reset::None);
        break;
    case 3:
        ReplyDelivery::deliverValue(expected, sink, 0, KindDownloadDone, Reset::Before);
        break;
    case 1:
    case 2:
        ReplyDelivery::deliverValue(expected, sink, 0, KindDownloadFailed, Reset::Before);
        break;
    default:
        break;
    }
}

void DollarDispatcher::decodeVoiceBlock(const Byte* frame, std::size_t length,
                                        ExpectedReply& expected, DecoderState& state,
                                        ReplySink& sink) {
    switch (expected.kind) {
    case KindVoiceBlockForSet: {
        // The stored block is written back by the set that follows; a block that is not whole
        // would write stale bytes into the receiver, so it is not taken.
        if (length - kMinCheckedFrame < kVoiceBlockPayload) {
            return;
        }
        const std::size_t copied = std::min(length - 1, DecoderState::kVoiceBlockSize);
        std::memcpy(state.voiceBlock.data(), frame, copied);
        ReplyDelivery::deliverValue(expected, sink, 0, KindVoiceBlockForSet, Reset::None);
        break;
    }
    case KindRinexFlag: {
        if (length < 8) {
            return;
        }
        state.rinexFlag = frame[7] == 1 ? 1 : 0;
        ReplyDelivery::deliverValue(expected, sink, state.rinexFlag, KindRinexFlag, Reset::After);
        break;
    }
    case KindRinexFlagSet:
    case KindVoiceTypeSet:
    case KindVolumeSet:
        ReplyDelivery::deliverValue(expected, sink, zeroStatusIsSuccess(frame, length),
                                    expected.kind, Reset::None);
        break;
    case KindVoiceParams: {
        if (length < 8) {
            return;
        }
        // The volume is 1 to 10; anything else (or a block too short to hold it) reads as 10.
        const Byte stored = length >= 38 ? frame[37] : Byte{0};
        const Byte volume = stored >= 1 && stored <= 10 ? stored : Byte{10};
        const BytePair pair{frame[6], volume};
        ReplyDelivery::deliver(expected, sink, ReplyData{pair}, KindVoiceParams, Reset::After);
        break;
    }
    default:
        break;
    }
}

void DollarDispatcher::decodeChecked(const Byte* frame, std::size_t length, ExpectedReply& expected,
                                     DecoderState& state, ReplySink& sink) {
    const FieldReader payload = payloadOf(frame, length);
    const std::int32_t kind = expected.kind;
    switch (kind) {
    case KindMainInfo: {
        MainInfoRecord record;
        if (!MainInfoDecoder::decode(payload, record)) {
            return;
        }
        state.mainInfo = record;
        state.receiverVersion = payload.byte(13);
        state.motherboardCode = record.motherboardCode;
        state.moduleCode = record.gprsModuleCode;
        ReplyDelivery::deliver(expected, sink, ReplyData{&record}, kind, Reset::Before);
        break;
    }
    case KindRadioConnected:
    case KindNetBandSet:
    case KindCollectParamsSet:
    case KindVoiceOn:
    case KindVoiceOff:
    case KindStaticVoiceOff:
        ReplyDelivery::deliverValue(expected, sink, 0, kind, Reset::After);
        break;
    case KindNetBand: {
        if (!payload.has(0, 2)) {
            return;
        }
        state.band2g = payload.byte(0);
        state.band3g = payload.byte(1);
        if (payload.has(2)) {
            state.moduleCode = payload.byte(2);
        }
        const IntPair bands{payload.byte(0), payload.byte(1)};
        ReplyDelivery::deliver(expected, sink, ReplyData{bands}, kind, Reset::After);
        break;
    }
    case KindCollectParams: {
        if (!payload.has(0, 2)) {
            return;
        }
        const IntPair params{payload.byte(0), payload.byte(1)};
        ReplyDelivery::deliver(expected, sink, ReplyData{params}, kind, Reset::After);
        break;
    }
    case KindFileList: {
        const std::vector<FileListRow> rows = FileListDecoder::decode(payload);
        ReplyDelivery::deliver(expected, sink, ReplyData{std::span<const FileListRow>(rows)}, kind,
                               Reset::Before);
        break;
    }
    case KindFilesDeleted:
    case KindFilesFormatted:
    case KindStoreLocation:
    case KindWifiSet:
        if (!payload.has(0)) {
            return;
        }
        ReplyDelivery::deliverValue(expected, sink, payload.byte(0), kind, Reset::Before);
        break;
    case KindStoreLocationSet:
    case KindNetParamsSet:
    case KindApnParamsSet:
    case KindFileNamingSet:
        ReplyDelivery::deliverValue(expected, sink, 0, kind, Reset::Before);
        break;
    case KindNetParams: {
        const std::optional<NetParams> params = NetParamsDecoder::decode(payload, length);
        if (!params) {
            return;
        }
        ReplyDelivery::deliver(expected, sink, ReplyData{&*params}, kind, Reset::Before);
        break;
    }
    case KindApnParams: {
        if (!payload.has(0, 100)) {
            return;
        }
        const TextPair apn{payload.text(0, 50), payload.text(50, 50)};
        ReplyDelivery::deliver(expected, sink, ReplyData{&apn}, kind, Reset::Before);
        break;
    }
    case KindDownload:
        decodeDownload(frame, length, expected, sink);
        break;
    case KindFileNaming: {
        if (!payload.has(0, 4)) {
            return;
        }
        const TextPair naming{payload.text(0, 1), payload.text(1, 3)};
        ReplyDelivery::deliver(expected, sink, ReplyData{&naming}, kind, Reset::Before);
        break;
    }
    case KindVoiceBlockForSet:
    case KindRinexFlag:
    case KindRinexFlagSet:
    case KindVoiceTypeSet:
    case KindVoiceParams:
    case KindVolumeSet:
        decodeVoiceBlock(frame, length, expected, state, sink);
        break;
    case KindRecordingState:
        // A reply too short to hold the flag reads as "not recording".
        ReplyDelivery::deliverValue(expected, sink, payload.byte(8), kind, Reset::Before);
        break;
    case KindStaticVoice:
        if (length < 8) {
            return;
        }
        ReplyDelivery::deliverValue(expected, sink, frame[7] == 1 ? 1 : 0, kind, Reset::After);
        break;
    case KindStaticVoiceSet:
        ReplyDelivery::deliverValue(expected, sink, zeroStatusIsSuccess(frame, length), kind,
                                    Reset::After);
        break;
    default:
        break; // kinds that deliver nothing (the SNR test, a download stop) stay armed
    }
}

} // namespace kestrava
