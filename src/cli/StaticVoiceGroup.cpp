#include "cli/StaticVoiceGroup.h"

#include "cli/ReceiverSession.h"
#include "cli/StaticGroupSupport.h"
#include "exchange/CommandExchange.h"
#include "forms/StaticForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {
const char* const kVoice = "OtherParams.StaticVoice";
} // namespace

std::vector<SettingKey> StaticVoiceGroup::keys() const {
    return {{"OtherParams", "StaticVoice", "1 = static voice prompt on, 0 = off", true,
             SettingCompare::Number}};
}

CliOutcome StaticVoiceGroup::read(ReceiverSession& session, SettingValues& values) {
    CommandExchange& exchange = session.exchange();
    const auto state =
        session.request([&] { exchange.request(CommandId::ReadStaticVoice); }, {KindStaticVoice});
    if (!state) {
        return StaticGroupSupport::noReply();
    }
    values[kVoice] = std::string(1, *state != 0 ? '1' : '0');
    return {};
}

CliOutcome StaticVoiceGroup::check(const SettingValues& values) const {
    const auto on =
        StaticForm::onOff(StaticGroupSupport::text(values, kVoice), QString::fromLatin1(kVoice));
    return on.ok() ? CliOutcome{} : StaticGroupSupport::refused(on.refusal());
}

CliOutcome StaticVoiceGroup::write(ReceiverSession& session, const SettingValues& values) {
    const auto on =
        StaticForm::onOff(StaticGroupSupport::text(values, kVoice), QString::fromLatin1(kVoice));
    if (!on.ok()) {
        return StaticGroupSupport::refused(on.refusal());
    }
    CommandExchange& exchange = session.exchange();
    const auto done = session.request(
        [&] {
            exchange.request(CommandId::SetStaticVoice, requestargs::SetStaticVoice{on.record()});
        },
        {KindStaticVoiceSet});
    if (!done) {
        return StaticGroupSupport::noReply();
    }
    if (*done == 0) {
        return StaticGroupSupport::failed(QStringLiteral("Fail to set StaticVoice"));
    }
    return {};
}

} // namespace kestrava
