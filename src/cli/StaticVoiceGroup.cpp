#include "cli/StaticVoiceGroup.h"

#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "forms/StaticForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {
const char* const kVoice = "OtherParams.StaticVoice";

FormResult<bool> form(const SettingValues& values) {
    const auto found = values.find(kVoice);
    return StaticForm::onOff(found == values.end() ? QString()
                                                   : QString::fromStdString(found->second),
                             QString::fromLatin1(kVoice));
}
} // namespace

std::vector<SettingKey> StaticVoiceGroup::keys() const {
    return {{"OtherParams", "StaticVoice", "1 = static voice prompt on, 0 = off", true,
             SettingCompare::Number}};
}

CliOutcome StaticVoiceGroup::read(ReceiverSession& session, SettingValues& values) {
    CommandExchange& exchange = session.exchange();
    const auto state = session.request(
        [&] { exchange.request(CommandId::ReadStaticVoice, requestargs::NoArguments{}); },
        {KindStaticVoice});
    if (!state) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    values[kVoice] = std::string(1, *state != 0 ? '1' : '0');
    return {};
}

CliOutcome StaticVoiceGroup::check(const SettingValues& values) const {
    const auto on = form(values);
    return on.ok() ? CliOutcome{} : CliOutcome{kCliRefused, on.refusal().toStdString()};
}

CliOutcome StaticVoiceGroup::write(ReceiverSession& session, const SettingValues& values) {
    const auto on = form(values);
    if (!on.ok()) {
        return {kCliRefused, on.refusal().toStdString()};
    }
    CommandExchange& exchange = session.exchange();
    const auto done = session.request(
        [&] {
            exchange.request(CommandId::SetStaticVoice, requestargs::SetStaticVoice{on.record()});
        },
        {KindStaticVoiceSet});
    if (!done) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    if (*done == 0) {
        return {kCliFailed, "Fail to set StaticVoice"};
    }
    return {};
}

} // namespace kestrava
