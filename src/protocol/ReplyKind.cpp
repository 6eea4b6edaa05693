#include "protocol/ReplyKind.h"

namespace kestrava {

std::string_view replyKindName(std::int32_t kind) {
    switch (kind) {
    case KindNone:
        return "KindNone";
    case KindMainInfo:
        return "KindMainInfo";
    case KindRadioConnected:
        return "KindRadioConnected";
    case KindRadioChannels:
        return "KindRadioChannels";
    case KindRadioAirBaud:
        return "KindRadioAirBaud";
    case KindRadioChannelsSet:
        return "KindRadioChannelsSet";
    case KindRadioAirBaudSet:
        return "KindRadioAirBaudSet";
    case KindNetBand:
        return "KindNetBand";
    case KindNetBandSet:
        return "KindNetBandSet";
    case KindBoardSerialPacket:
        return "KindBoardSerialPacket";
    case KindBoardVersionText:
        return "KindBoardVersionText";
    case KindSnrTest:
        return "KindSnrTest";
    case KindCollectParams:
        return "KindCollectParams";
    case KindCollectParamsSet:
        return "KindCollectParamsSet";
    case KindFileList:
        return "KindFileList";
    case KindFilesDeleted:
        return "KindFilesDeleted";
    case KindFilesFormatted:
        return "KindFilesFormatted";
    case KindStoreLocationSet:
        return "KindStoreLocationSet";
    case KindStoreLocation:
        return "KindStoreLocation";
    case KindNetParams:
        return "KindNetParams";
    case KindNetParamsSet:
        return "KindNetParamsSet";
    case KindApnParams:
        return "KindApnParams";
    case KindApnParamsSet:
        return "KindApnParamsSet";
    case KindDownload:
        return "KindDownload";
    case KindDownloadReady:
        return "KindDownloadReady";
    case KindDownloadBlock:
        return "KindDownloadBlock";
    case KindDownloadDone:
        return "KindDownloadDone";
    case KindDownloadStop:
        return "KindDownloadStop";
    case KindDownloadFailed:
        return "KindDownloadFailed";
    case KindFirmwareStart:
        return "KindFirmwareStart";
    case KindFirmwareBlock:
        return "KindFirmwareBlock";
    case KindRemotePasswordSet:
        return "KindRemotePasswordSet";
    case KindVoiceOn:
        return "KindVoiceOn";
    case KindVoiceOff:
        return "KindVoiceOff";
    case KindFileNamingSet:
        return "KindFileNamingSet";
    case KindFileNaming:
        return "KindFileNaming";
    case KindVoiceBlockForSet:
        return "KindVoiceBlockForSet";
    case KindRinexFlag:
        return "KindRinexFlag";
    case KindRinexFlagSet:
        return "KindRinexFlagSet";
    case KindVoiceTypeSet:
        return "KindVoiceTypeSet";
    case KindVoiceParams:
        return "KindVoiceParams";
    case KindStaticVoiceOff:
        return "KindStaticVoiceOff";
    case KindRecordingState:
        return "KindRecordingState";
    case KindVolumeSet:
        return "KindVolumeSet";
    case KindWifiSet:
        return "KindWifiSet";
    case KindStaticVoice:
        return "KindStaticVoice";
    case KindStaticVoiceSet:
        return "KindStaticVoiceSet";
    default:
        return {};
    }
}

} // namespace kestrava
