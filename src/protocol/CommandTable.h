#pragma once

#include "protocol/CommandId.h"
#include "protocol/CommandRow.h"
#include "protocol/VoiceCommands.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace kestrava {

// The rows of CommandTable, built by the helpers below.
namespace commandrows {

using Row = CommandRow;
using Encoder = CommandRow::Encoder;
using Variant = CommandRow::Variant;
using Match = CommandRow::Match;

constexpr int kMainInfoTimeoutMs = 3000;
constexpr int kBoardInfoTimeoutMs = 2000;
constexpr int kRadioTimeoutMs = 3000;
constexpr int kStoreLocationTimeoutMs = 2000;
constexpr int kFirmwareStartRepeatMs = 500;
constexpr int kFirmwareBlockWatchdogMs = 2000;

constexpr Match kAny{};
constexpr Match kEmpty{0, 0};
constexpr Match kNotEmpty{1};
constexpr Match kByCode{0, 0xFFFF, true};
constexpr Match kByArmedKind{0, 0xFFFF, false, true};

constexpr Byte switchCode(VoiceSwitchCode c) {
    return static_cast<Byte>(c);
}
constexpr Row dollar(CommandId id, std::string_view name, char cls, char sub, std::int32_t kind,
                     const char* tip, Match match = kAny, Byte code = 0) {
    Row s;
    s.id = id;
    s.name = name;
    s.cls = static_cast<Byte>(cls);
    s.sub = static_cast<Byte>(sub);
    s.variants[0] = Variant{kind, tip, code};
    s.match = match;
    return s;
}
constexpr Row timed(Row s, ReplyTimerId timer, int timeoutMs) {
    s.timer = timer;
    s.timeoutMs = timeoutMs;
    return s;
}
constexpr Row forms(Row s, Variant second, Variant third = {}) {
    s.variants[1] = second;
    s.variants[2] = third;
    s.variantCount = third.kind == KindNone ? 2 : 3;
    return s;
}
constexpr Row encoded(Row s, Encoder encoder, std::int32_t replyFraming) {
    s.encoder = encoder;
    s.replyFraming = replyFraming;
    return s;
}
constexpr Row radio(CommandId id, std::string_view name, char command, std::int32_t kind,
                    const char* tip) {
    return timed(encoded(dollar(id, name, 0, command, kind, tip), Encoder::Radio, FRAMING_RADIO),
                 TIMER_RADIO, kRadioTimeoutMs);
}

constexpr Row boardSerial() {
    Row s = timed(encoded(dollar(CommandId::ReadBoardSerial, "ReadBoardSerial", 0, 0x06,
                                 KindBoardSerialPacket, nullptr),
                          Encoder::BoardPacket, FRAMING_PACKET),
                  TIMER_BOARD_INFO, kBoardInfoTimeoutMs);
    return s;
}
constexpr Row boardVersion() {
    Row s = timed(encoded(dollar(CommandId::ReadBoardVersion, "ReadBoardVersion", 0, 0,
                                 KindBoardVersionText, nullptr),
                          Encoder::BoardText, FRAMING_ASCII),
                  TIMER_BOARD_INFO, kBoardInfoTimeoutMs);
    s.textLeads = {"\r\nlog version"};
    return s;
}
constexpr Row nmeaOutput() {
    Row s = encoded(dollar(CommandId::SetNmeaOutput, "SetNmeaOutput", 0, 0x64, KindNone, ""),
                    Encoder::BoardPacketOrText, FRAMING_IDLE);
    s.armsReply = false;
    s.textLeads = {"unlog", "log "};
    return s;
}

using Id = CommandId;
inline constexpr std::array<Row, kCommandCount> kRows = {
    timed(dollar(Id::ReadMainInfo, "ReadMainInfo", 'V', 'C', KindMainInfo,
                 progressTip("Reading main infomation...")),
          TIMER_MAIN_INFO, kMainInfoTimeoutMs),
    dollar(Id::ConnectInternalRadio, "ConnectInternalRadio", 'G', 'Q', KindRadioConnected,
           progressTip("Connecting internal Radio..."), kByCode, 0x0A),
    dollar(Id::StartSnrTest, "StartSnrTest", 'G', 'Q', KindSnrTest, nullptr, kByCode, 0x03),
    encoded(dollar(Id::StopSnrTest, "StopSnrTest", 'G', 'Q', KindNone, nullptr, kAny, 0x00),
            Encoder::Dollar, FRAMING_IDLE),
    dollar(Id::ReadNetModuleBand, "ReadNetModuleBand", 'G', 'F', KindNetBand,
           progressTip("Reading net module band..."), kEmpty),
    dollar(Id::SetNetModuleBand, "SetNetModuleBand", 'G', 'F', KindNetBandSet, ""),
    dollar(Id::ReadNetParams, "ReadNetParams", 'G', 'C', KindNetParams,
           progressTip("Reading net parameters..."), kEmpty),
    dollar(Id::SetNetParams, "SetNetParams", 'G', 'C', KindNetParamsSet, ""),
    dollar(Id::ReadApnParams, "ReadApnParams", 'G', 'A', KindApnParams, "", kEmpty),
    dollar(Id::SetApnParams, "SetApnParams", 'G', 'A', KindApnParamsSet, ""),
    dollar(Id::SetWifiPassword, "SetWifiPassword", 'G', 'Y', KindWifiSet, ""),
    dollar(Id::SetRemotePassword, "SetRemotePassword", 'I', 'C', KindRemotePasswordSet, ""),
    dollar(Id::ReadCollectParams, "ReadCollectParams", 'F', 'J', KindCollectParams,
           progressTip("Reading record interval..."), kEmpty),
    dollar(Id::SetCollectParams, "SetCollectParams", 'F', 'J', KindCollectParamsSet, ""),
    timed(dollar(Id::ReadStoreLocation, "ReadStoreLocation", 'F', 'E', KindStoreLocation,
                 progressTip("Reading store location..."), kEmpty),
          TIMER_RADIO, kStoreLocationTimeoutMs),
    dollar(Id::SetStoreLocation, "SetStoreLocation", 'F', 'E', KindStoreLocationSet, ""),
    dollar(Id::ReadFileNaming, "ReadFileNaming", 'F', 'K', KindFileNaming,
           progressTip("Reading static file parameters..."), kEmpty),
    dollar(Id::SetFileNaming, "SetFileNaming", 'F', 'K', KindFileNamingSet, ""),
    dollar(Id::ReadFileList, "ReadFileList", 'F', 'M', KindFileList,
           progressTip("Reading all static files...")),
    dollar(Id::DeleteFiles, "DeleteFiles", 'F', 'D', KindFilesDeleted, "", kNotEmpty),
    dollar(Id::FormatFiles, "FormatFiles", 'F', 'D', KindFilesFormatted,
           progressTip("Formatting the static files...")),
    dollar(Id::ReadRecordingState, "ReadRecordingState", 'F', 'C', KindRecordingState, nullptr),
    dollar(Id::StartDownload, "StartDownload", 'F', 't', KindDownload, "", Match{2}),
    dollar(Id::NextDownloadBlock, "NextDownloadBlock", 'F', 't', KindDownload, nullptr, kEmpty),
    dollar(Id::StopDownload, "StopDownload", 'F', 't', KindDownloadStop, nullptr, kAny, 0x04),
    forms(dollar(Id::VoiceSwitch, "VoiceSwitch", 'S', 'I', KindVoiceOn,
                 progressTip("Enableing voice..."), kAny, switchCode(VoiceSwitchCode::VoiceOn)),
          Variant{KindVoiceOff, progressTip("Disableing voice..."),
                  switchCode(VoiceSwitchCode::VoiceOff)},
          Variant{KindStaticVoiceOff, progressTip("Disabling static voice..."),
                  switchCode(VoiceSwitchCode::StaticVoiceOff)}),
    dollar(Id::ReadStaticVoice, "ReadStaticVoice", 'V', 'V', KindStaticVoice,
           progressTip("Reading static voice state..."), Match{0, 1}, 0x01),
    // The form is the state set: 0 off, 1 on.
    forms(dollar(Id::SetStaticVoice, "SetStaticVoice", 'V', 'V', KindStaticVoiceSet,
                 progressTip("Disabling static voice...")),
          Variant{KindStaticVoiceSet, progressTip("Enabling static voice...")}),
    // The forms follow VoiceBlockRead: for a set, the RINEX flag, voice type and volume.
    forms(dollar(Id::ReadVoiceBlock, "ReadVoiceBlock", 'I', 'K', KindVoiceBlockForSet, "", kEmpty),
          Variant{KindRinexFlag, ""}, Variant{KindVoiceParams, ""}),
    dollar(Id::SetVoiceType, "SetVoiceType", 'I', 'K', KindVoiceTypeSet, "", kByArmedKind),
    dollar(Id::SetRinexFlag, "SetRinexFlag", 'I', 'K', KindRinexFlagSet, "", kByArmedKind),
    dollar(Id::SetVolume, "SetVolume", 'I', 'K', KindVolumeSet, "", kByArmedKind),
    timed(encoded(dollar(Id::FirmwareStart, "FirmwareStart", 'V', 'S', KindFirmwareStart, nullptr),
                  Encoder::Firmware, FRAMING_DOLLAR),
          TIMER_FIRMWARE_START, kFirmwareStartRepeatMs),
    timed(encoded(dollar(Id::FirmwareBlock, "FirmwareBlock", 'V', 'X', KindFirmwareBlock, nullptr),
                  Encoder::Firmware, FRAMING_DOLLAR),
          TIMER_FIRMWARE_BLOCK, kFirmwareBlockWatchdogMs),
    radio(Id::ReadRadioChannels, "ReadRadioChannels", 'c', KindRadioChannels,
          progressTip("Reading Current Freq...")),
    radio(Id::ReadAirBaud, "ReadAirBaud", 'r', KindRadioAirBaud,
          progressTip("Reading air baud rate...")),
    radio(Id::SetAirBaud, "SetAirBaud", 'p', KindRadioAirBaudSet, ""),
    radio(Id::WriteRadioChannels, "WriteRadioChannels", 'a', KindRadioChannelsSet, ""),
    boardSerial(),
    boardVersion(),
    nmeaOutput(),
};

} // namespace commandrows

// Every command the program sends, one row each: its name, its header, the reply it arms, its
// progress tip and its reply timer. The builders arm ExpectedReply from these rows, the trace
// names frames by them, the exchange shows their tips and starts their timers, and the command
// line lists and frames them in this order.
class CommandTable {
public:
    static constexpr std::span<const CommandRow> all() { return commandrows::kRows; }
    static constexpr const CommandRow& row(CommandId id) {
        return commandrows::kRows[static_cast<std::size_t>(id)];
    }
    // The row of that exact name, or nullptr.
    static constexpr const CommandRow* find(std::string_view name) {
        for (const CommandRow& entry : commandrows::kRows) {
            if (entry.name == name) {
                return &entry;
            }
        }
        return nullptr;
    }
};

namespace commandrows {

constexpr bool rowsFollowTheIds() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (static_cast<std::size_t>(kRows[i].id) != i || kRows[i].name.empty()) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowTheIds(), "one row per CommandId, in its order");

} // namespace commandrows

} // namespace kestrava
