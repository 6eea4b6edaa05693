#include "cli/VoiceGroup.h"

#include "cli/ReceiverRequests.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "forms/AdvancedForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {

constexpr const char* kVoice = "OtherParams.Voice";
constexpr const char* kVolume = "OtherParams.Volume";

QString valueOf(const SettingValues& values, const char* name) {
    const auto found = values.find(name);
    return found != values.end() ? QString::fromStdString(found->second) : QString();
}

// Reads the voice block for a set; its reply sends the set with the rest of the block kept.
// The receiver's answer says whether it took the value.
CliOutcome setThroughBlock(ReceiverSession& session, RequestChain chain,
                           const RequestArguments& arguments, int kind, const char* failed) {
    CliOutcome outcome;
    const std::optional<int> ok = ReceiverRequests::ask(
        session, [&] { session.exchange().request(chain, arguments); }, {kind},
        ReceiverSession::kReplyWaitMs, ReceiverSession::silenceText(), outcome);
    if (!ok) {
        return outcome;
    }
    if (*ok == 0) {
        return {kCliFailed, failed};
    }
    return {kCliOk, ReceiverRequests::tip(session)};
}

} // namespace

std::vector<SettingKey> VoiceGroup::keys() const {
    return {
        {"OtherParams", "Voice",
         "voice prompt type: 0 disabled, 1 or 2 default voice, 3 user-defined voice", true,
         SettingCompare::Number},
        {"OtherParams", "Volume", "voice prompt volume, 1 to 10", true, SettingCompare::Number}};
}

CliOutcome VoiceGroup::read(ReceiverSession& session, SettingValues& values) {
    session.view().voice.reset();
    CliOutcome outcome;
    if (!ReceiverRequests::ask(
            session,
            [&session] {
                session.exchange().request(
                    CommandId::ReadVoiceBlock,
                    requestargs::ReadVoiceBlock{false, requestargs::ReadVoiceBlock::kVoiceType});
            },
            {KindVoiceParams}, ReceiverSession::kReplyWaitMs, ReceiverSession::silenceText(),
            outcome) ||
        !session.view().voice) {
        return outcome.ok() ? CliOutcome{kCliNoReply, ReceiverSession::silenceText()} : outcome;
    }
    values[kVoice] = std::to_string(session.view().voice->first);
    values[kVolume] = std::to_string(session.view().voice->second);
    return {};
}

CliOutcome VoiceGroup::check(const SettingValues& values) const {
    const FormResult<Byte> voice = AdvancedForm::voiceCode(valueOf(values, kVoice));
    if (!voice.ok()) {
        return {kCliRefused, voice.refusal().toStdString()};
    }
    const FormResult<Byte> volume = AdvancedForm::volume(valueOf(values, kVolume));
    return volume.ok() ? CliOutcome{} : CliOutcome{kCliRefused, volume.refusal().toStdString()};
}

CliOutcome VoiceGroup::write(ReceiverSession& session, const SettingValues& values) {
    const FormResult<Byte> voice = AdvancedForm::voiceCode(valueOf(values, kVoice));
    if (!voice.ok()) {
        return {kCliRefused, voice.refusal().toStdString()};
    }
    const FormResult<Byte> volume = AdvancedForm::volume(valueOf(values, kVolume));
    if (!volume.ok()) {
        return {kCliRefused, volume.refusal().toStdString()};
    }
    session.settings().voice = voice.record();
    CliOutcome outcome =
        setThroughBlock(session, RequestChain::VoiceType, requestargs::SetVoiceType{voice.record()},
                        KindVoiceTypeSet, "Fail to set Voice Type");
    if (!outcome.ok()) {
        return outcome;
    }
    const std::string voiceDone = outcome.message;
    session.settings().volume = volume.record();
    outcome =
        setThroughBlock(session, RequestChain::Volume, requestargs::SetVolume{volume.record()},
                        KindVolumeSet, "Fail to set volume");
    if (!outcome.ok()) {
        return outcome;
    }
    return {kCliOk, voiceDone + '\n' + outcome.message};
}

} // namespace kestrava
