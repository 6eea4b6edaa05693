#pragma once

#include <cstdint>
#include <string_view>

namespace kestrava {

// The reply a pending command waits for, and the outcome a decoder delivers. The numbers are
// stable: they are shown by the command-line tool and exchanged with the reply handler.
enum ReplyKind : std::int32_t {
    KindNone = 0,
    KindMainInfo = 1,
    KindRadioConnected = 2,
    KindRadioChannels = 3,
    KindRadioAirBaud = 4,
    KindRadioChannelsSet = 5,
    KindRadioAirBaudSet = 6,
    KindNetBand = 7,
    KindNetBandSet = 8,
    KindBoardSerialPacket = 9,
    KindBoardVersionText = 10,
    KindSnrTest = 11, // armed by StartSnrTest, never delivered
    KindCollectParams = 12,
    KindCollectParamsSet = 13,
    KindFileList = 15,
    KindFilesDeleted = 16,
    KindFilesFormatted = 17,
    KindStoreLocationSet = 18,
    KindStoreLocation = 19,
    KindNetParams = 20,
    KindNetParamsSet = 21,
    KindApnParams = 22,
    KindApnParamsSet = 23,
    KindDownload = 24, // armed while a download runs; its replies deliver 25 to 29
    KindDownloadReady = 25,
    KindDownloadBlock = 26,
    KindDownloadDone = 27,
    KindDownloadStop = 28, // armed by StopDownload, never delivered
    KindDownloadFailed = 29,
    KindFirmwareStart = 30,
    KindFirmwareBlock = 31,
    KindRemotePasswordSet = 34,
    KindVoiceOn = 35,
    KindVoiceOff = 36,
    KindFileNamingSet = 37,
    KindFileNaming = 38,
    KindVoiceBlockForSet = 40,
    KindRinexFlag = 41,
    KindRinexFlagSet = 42,
    KindVoiceTypeSet = 43,
    KindVoiceParams = 44,
    KindStaticVoiceOff = 45,
    KindRecordingState = 46,
    KindVolumeSet = 48,
    KindWifiSet = 49,
    KindStaticVoice = 50,
    KindStaticVoiceSet = 51,
};

// The name of a kind ("KindMainInfo"), or an empty view for a number that is no kind.
std::string_view replyKindName(std::int32_t kind);

} // namespace kestrava
