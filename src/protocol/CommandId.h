#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrava {

// Every command the program sends, in the order of the command table (CommandTable).
enum class CommandId : std::uint8_t {
    ReadMainInfo,
    ConnectInternalRadio,
    StartSnrTest,
    StopSnrTest,
    ReadNetModuleBand,
    SetNetModuleBand,
    ReadNetParams,
    SetNetParams,
    ReadApnParams,
    SetApnParams,
    SetWifiPassword,
    SetRemotePassword,
    ReadCollectParams,
    SetCollectParams,
    ReadStoreLocation,
    SetStoreLocation,
    ReadFileNaming,
    SetFileNaming,
    ReadFileList,
    DeleteFiles,
    FormatFiles,
    ReadRecordingState,
    StartDownload,
    NextDownloadBlock,
    StopDownload,
    VoiceSwitch,
    ReadStaticVoice,
    SetStaticVoice,
    ReadVoiceBlock,
    SetVoiceType,
    SetRinexFlag,
    SetVolume,
    FirmwareStart,
    FirmwareBlock,
    ReadRadioChannels,
    ReadAirBaud,
    SetAirBaud,
    WriteRadioChannels,
    ReadBoardSerial,
    ReadBoardVersion,
    SetNmeaOutput,
};

inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(CommandId::SetNmeaOutput) + 1;

} // namespace kestrava
