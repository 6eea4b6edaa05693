#pragma once

#include "protocol/ChannelTable.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/NetParams.h"
#include "protocol/NmeaOutputChoice.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/VoiceCommands.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

namespace kestrava {

// What a command of the exchange carries besides its header: one record per command that takes
// arguments, named after the command. The commands without arguments take NoArguments.
namespace requestargs {

struct NoArguments {};

struct SetAirBaud {
    std::int32_t bitsPerSecond = 0;
};
struct WriteRadioChannels {
    ChannelTable table;
};
struct SetNetModuleBand {
    Byte band2g = 0;
    Byte band3g = 0;
};
// Text for motherboard code 0, a packet for code 4; for any other code nothing can be sent and
// a box says so.
struct SetNmeaOutput {
    NmeaOutputChoice choice;
};
struct VoiceSwitch {
    VoiceSwitchCode code{};
};
// which: the voice type (and volume), the RINEX flag or the volume. A read for a set remembers
// which set follows its reply; the chains VoiceType, Volume and SetStoreLocation (RequestChain)
// make those reads with the value to set.
struct ReadVoiceBlock {
    static constexpr int kVoiceType = 1;
    static constexpr int kRinexFlag = 2;
    static constexpr int kVolume = 3;

    bool forSet = false;
    int which = kVoiceType;
};
struct SetVoiceType {
    Byte voiceType = 0;
};
struct SetRinexFlag {
    bool on = false;
};
struct SetVolume {
    Byte volume = 0;
};
struct SetStaticVoice {
    bool on = false;
};
struct SetCollectParams {
    int intervalSeconds = 0;
    int cutoffDegrees = 0;
};
struct SetFileNaming {
    QString prefix;
    QString serial;
};
struct SetStoreLocation {
    bool storageCard = false;
};
struct DeleteFiles {
    QStringList names;
};
// name: the receiver's file name without extension; localPath: where the copy ends up;
// expectedBytes: the size the list reported, -1 when it is not known.
struct StartDownload {
    QString name;
    QString localPath;
    std::int64_t expectedBytes = -1;
};
struct SetNetParams {
    NetParams params;
};
struct SetApnParams {
    QString user;
    QString password;
};
struct SetRemotePassword {
    QString password;
};
// Without oldPassword: the frame that carries the new password alone.
struct SetWifiPassword {
    std::optional<QString> oldPassword;
    QString newPassword;
};
struct FirmwareStart {
    Byte target = 0;
    bool repeat = false;
};
// data must stay valid until the request returns: the frame is built at once.
struct FirmwareBlock {
    FirmwareLayout layout{};
    std::span<const Byte> data;
    std::uint32_t position = 0;
};

} // namespace requestargs

using RequestArguments =
    std::variant<requestargs::NoArguments, requestargs::SetAirBaud, requestargs::WriteRadioChannels,
                 requestargs::SetNetModuleBand, requestargs::SetNmeaOutput,
                 requestargs::VoiceSwitch, requestargs::ReadVoiceBlock, requestargs::SetVoiceType,
                 requestargs::SetRinexFlag, requestargs::SetVolume, requestargs::SetStaticVoice,
                 requestargs::SetCollectParams, requestargs::SetFileNaming,
                 requestargs::SetStoreLocation, requestargs::DeleteFiles,
                 requestargs::StartDownload, requestargs::SetNetParams, requestargs::SetApnParams,
                 requestargs::SetRemotePassword, requestargs::SetWifiPassword,
                 requestargs::FirmwareStart, requestargs::FirmwareBlock>;

} // namespace kestrava
