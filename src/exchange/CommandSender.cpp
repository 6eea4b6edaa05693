#include "exchange/CommandSender.h"

#include "exchange/TextCodec.h"
#include "protocol/BoardCommands.h"
#include "protocol/CommandTable.h"
#include "protocol/DollarCommands.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/RadioCommands.h"
#include "protocol/StaticCommands.h"
#include "protocol/VoiceCommands.h"

#include <variant>
#include <vector>

namespace kestrava {

namespace a = requestargs;

namespace {

template <typename T>
bool holds(const RequestArguments& arguments) {
    return std::holds_alternative<T>(arguments);
}

// The arguments of a command that carries T; the caller has checked that it does.
template <typename T>
const T& as(const RequestArguments& arguments) {
    return std::get<T>(arguments);
}

} // namespace

CommandSender::CommandSender(ExpectedReply& expected, DecoderState& state)
    : m_expected(expected), m_state(state) {}

bool CommandSender::carries(CommandId command, const RequestArguments& arguments) {
    switch (command) {
    case CommandId::SetAirBaud:
        return holds<a::SetAirBaud>(arguments);
    case CommandId::WriteRadioChannels:
        return holds<a::WriteRadioChannels>(arguments);
    case CommandId::SetNetModuleBand:
        return holds<a::SetNetModuleBand>(arguments);
    case CommandId::SetNmeaOutput:
        return holds<a::SetNmeaOutput>(arguments);
    case CommandId::VoiceSwitch:
        return holds<a::VoiceSwitch>(arguments);
    case CommandId::ReadVoiceBlock:
        return holds<a::ReadVoiceBlock>(arguments);
    case CommandId::SetVoiceType:
        return holds<a::SetVoiceType>(arguments);
    case CommandId::SetRinexFlag:
        return holds<a::SetRinexFlag>(arguments);
    case CommandId::SetVolume:
        return holds<a::SetVolume>(arguments);
    case CommandId::SetStaticVoice:
        return holds<a::SetStaticVoice>(arguments);
    case CommandId::SetCollectParams:
        return holds<a::SetCollectParams>(arguments);
    case CommandId::SetFileNaming:
        return holds<a::SetFileNaming>(arguments);
    case CommandId::SetStoreLocation:
        return holds<a::SetStoreLocation>(arguments);
    case CommandId::DeleteFiles:
        return holds<a::DeleteFiles>(arguments);
    case CommandId::StartDownload:
        return holds<a::StartDownload>(arguments);
    case CommandId::SetNetParams:
        return holds<a::SetNetParams>(arguments);
    case CommandId::SetApnParams:
        return holds<a::SetApnParams>(arguments);
    case CommandId::SetRemotePassword:
        return holds<a::SetRemotePassword>(arguments);
    case CommandId::SetWifiPassword:
        return holds<a::SetWifiPassword>(arguments);
    case CommandId::FirmwareStart:
        return holds<a::FirmwareStart>(arguments);
    case CommandId::FirmwareBlock:
        return holds<a::FirmwareBlock>(arguments);
    default:
        return holds<a::NoArguments>(arguments);
    }
}

std::optional<CommandSender::Plan> CommandSender::plan(CommandId command,
                                                       const RequestArguments& arguments) const {
    const CommandRow& row = CommandTable::row(command);
    Plan plan;
    plan.tip = row.tip();
    // The firmware transfer arms its own timers.
    plan.timed = row.timer != TIMER_NONE && row.encoder != CommandRow::Encoder::Firmware;
    switch (command) {
    case CommandId::ReadBoardSerial:
        if (m_state.motherboardCode != MOTHERBOARD_TRIMBLE) {
            return std::nullopt;
        }
        break;
    case CommandId::ReadBoardVersion:
        if (m_state.motherboardCode != MOTHERBOARD_NOVATEL) {
            return std::nullopt;
        }
        break;
    case CommandId::SetNmeaOutput:
        if (m_state.motherboardCode != MOTHERBOARD_TRIMBLE &&
            m_state.motherboardCode != MOTHERBOARD_NOVATEL) {
            // Only the two known boards have output commands; say so rather than claim a
            // setting.
            plan.refusal = "The motherboard type is unknown, so the data output setting was "
                           "not sent";
        }
        plan.awaitsReply = false; // the board does not answer these commands
        break;
    case CommandId::VoiceSwitch: {
        const std::optional<std::size_t> form = voiceSwitchForm(as<a::VoiceSwitch>(arguments).code);
        if (!form) {
            return std::nullopt;
        }
        plan.tip = row.tip(*form);
        break;
    }
    case CommandId::SetStaticVoice:
        plan.tip = row.tip(as<a::SetStaticVoice>(arguments).on ? 1 : 0);
        break;
    case CommandId::FirmwareStart:
    case CommandId::FirmwareBlock:
        // The transfer shows its own texts; it is what the guard keeps other commands from.
        plan.tip = nullptr;
        plan.guarded = false;
        plan.awaitsReply = false;
        break;
    default:
        break;
    }
    return plan;
}

Bytes CommandSender::build(CommandId command, const RequestArguments& arguments,
                           int fileListPosition) {
    Bytes frame;
    std::size_t size = 0;
    ExpectedReply& e = m_expected;
    switch (command) {
    case CommandId::ReadMainInfo:
        size = ReadMainInfo(frame, e);
        break;
    case CommandId::ReadBoardSerial:
        size = ReadBoardSerial(frame, e);
        break;
    case CommandId::ReadBoardVersion:
        size = ReadBoardVersion(frame, e);
        break;
    case CommandId::ConnectInternalRadio:
        size = ConnectInternalRadio(frame, e);
        break;
    case CommandId::ReadAirBaud:
        size = ReadAirBaud(frame, e);
        break;
    case CommandId::SetAirBaud:
        size = SetAirBaud(frame, e, as<a::SetAirBaud>(arguments).bitsPerSecond);
        break;
    case CommandId::ReadRadioChannels:
        size = ReadRadioChannels(frame, e);
        break;
    case CommandId::WriteRadioChannels:
        size = WriteRadioChannels(frame, e, as<a::WriteRadioChannels>(arguments).table);
        break;
    case CommandId::ReadNetModuleBand:
        size = ReadNetModuleBand(frame, e);
        break;
    case CommandId::SetNetModuleBand: {
        const auto& x = as<a::SetNetModuleBand>(arguments);
        size = SetNetModuleBand(frame, e, x.band2g, x.band3g);
        break;
    }
    case CommandId::StartSnrTest:
        size = StartSnrTest(frame, e);
        break;
    case CommandId::StopSnrTest:
        size = StopSnrTest(frame, e);
        break;
    case CommandId::SetNmeaOutput:
        size =
            SetNmeaOutput(frame, as<a::SetNmeaOutput>(arguments).choice, m_state.motherboardCode);
        break;
    case CommandId::VoiceSwitch:
        size = VoiceSwitch(frame, e, as<a::VoiceSwitch>(arguments).code);
        break;
    case CommandId::ReadVoiceBlock: {
        const auto& x = as<a::ReadVoiceBlock>(arguments);
        VoiceBlockRead purpose = VoiceBlockRead::VoiceTypeAndVolume;
        if (x.forSet) {
            purpose = VoiceBlockRead::ForSet;
        } else if (x.which == a::ReadVoiceBlock::kRinexFlag) {
            purpose = VoiceBlockRead::RinexFlag;
        }
        size = ReadVoiceBlock(frame, e, purpose);
        break;
    }
    case CommandId::SetVoiceType:
        size = SetVoiceType(frame, e, m_state, as<a::SetVoiceType>(arguments).voiceType);
        break;
    case CommandId::SetRinexFlag:
        size = SetRinexFlag(frame, e, m_state, as<a::SetRinexFlag>(arguments).on);
        break;
    case CommandId::SetVolume:
        size = SetVolume(frame, e, m_state, as<a::SetVolume>(arguments).volume);
        break;
    case CommandId::ReadStaticVoice:
        size = ReadStaticVoice(frame, e);
        break;
    case CommandId::SetStaticVoice:
        size = SetStaticVoice(frame, e, as<a::SetStaticVoice>(arguments).on);
        break;
    case CommandId::ReadCollectParams:
        size = ReadCollectParams(frame, e);
        break;
    case CommandId::SetCollectParams: {
        const auto& x = as<a::SetCollectParams>(arguments);
        size = SetCollectParams(frame, e, static_cast<Byte>(x.intervalSeconds),
                                static_cast<Byte>(x.cutoffDegrees));
        break;
    }
    case CommandId::ReadFileNaming:
        size = ReadFileNaming(frame, e);
        break;
    case CommandId::SetFileNaming: {
        const auto& x = as<a::SetFileNaming>(arguments);
        size = SetFileNaming(frame, e, TextCodec::toBytes(x.prefix), TextCodec::toBytes(x.serial));
        break;
    }
    case CommandId::ReadStoreLocation:
        size = ReadStoreLocation(frame, e);
        break;
    case CommandId::SetStoreLocation:
        size = SetStoreLocation(frame, e, as<a::SetStoreLocation>(arguments).storageCard);
        break;
    case CommandId::ReadFileList:
        size = ReadFileList(frame, e, static_cast<Byte>(fileListPosition));
        break;
    case CommandId::DeleteFiles: {
        const QStringList& names = as<a::DeleteFiles>(arguments).names;
        std::vector<ByteString> bytes;
        bytes.reserve(static_cast<std::size_t>(names.size()));
        for (const QString& name : names) {
            bytes.push_back(TextCodec::toBytes(name));
        }
        size = DeleteFiles(frame, e, bytes);
        break;
    }
    case CommandId::ReadRecordingState:
        size = ReadRecordingState(frame, e);
        break;
    case CommandId::FormatFiles:
        size = FormatFiles(frame, e);
        break;
    case CommandId::StartDownload:
        size = StartDownload(frame, e, TextCodec::toBytes(as<a::StartDownload>(arguments).name));
        break;
    case CommandId::NextDownloadBlock:
        size = NextDownloadBlock(frame, e);
        break;
    case CommandId::StopDownload:
        size = StopDownload(frame, e);
        break;
    case CommandId::ReadNetParams:
        size = ReadNetParams(frame, e);
        break;
    case CommandId::SetNetParams:
        size = SetNetParams(frame, e, as<a::SetNetParams>(arguments).params);
        break;
    case CommandId::ReadApnParams:
        size = ReadApnParams(frame, e);
        break;
    case CommandId::SetApnParams: {
        const auto& x = as<a::SetApnParams>(arguments);
        size = SetApnParams(frame, e, TextCodec::toBytes(x.user), TextCodec::toBytes(x.password));
        break;
    }
    case CommandId::SetRemotePassword:
        size = SetRemotePassword(frame, e,
                                 TextCodec::toBytes(as<a::SetRemotePassword>(arguments).password));
        break;
    case CommandId::SetWifiPassword: {
        const auto& x = as<a::SetWifiPassword>(arguments);
        size = x.oldPassword ? SetWifiPassword(frame, e, TextCodec::toBytes(*x.oldPassword),
                                               TextCodec::toBytes(x.newPassword))
                             : SetWifiPassword(frame, e, TextCodec::toBytes(x.newPassword));
        break;
    }
    case CommandId::FirmwareStart: {
        const auto& x = as<a::FirmwareStart>(arguments);
        size = FirmwareStart(frame, e, x.target, x.repeat);
        break;
    }
    case CommandId::FirmwareBlock: {
        const auto& x = as<a::FirmwareBlock>(arguments);
        size = FirmwareBlock(frame, e, m_state, x.layout, x.data, x.position);
        break;
    }
    }
    if (size == 0) {
        frame.clear(); // nothing that could be carried
    }
    return frame;
}

} // namespace kestrava
