#include "cli/ApnParamsGroup.h"

#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "exchange/TextCodec.h"
#include "forms/ApnForm.h"
#include "protocol/ReplyKind.h"

#include <optional>

namespace kestrava {

namespace {

const std::string kSection = "ANPParams";
const std::string kUser = kSection + ".APNUsername";
const std::string kPassword = kSection + ".APNPassWord";

QString valueText(const SettingValues& values, const std::string& name) {
    const auto found = values.find(name);
    return found == values.end() ? QString() : QString::fromStdString(found->second);
}

} // namespace

std::vector<SettingKey> ApnParamsGroup::keys() const {
    return {{kSection, "APNUsername", "APN user name, at most 50 bytes (may be empty)"},
            {kSection, "APNPassWord", "APN password, at most 50 bytes (may be empty)"}};
}

CliOutcome ApnParamsGroup::read(ReceiverSession& session, SettingValues& values) {
    session.view().apn.reset();
    const std::optional<int> reply = session.request(
        [&session] { session.exchange().request(CommandId::ReadApnParams); }, {KindApnParams});
    if (!reply || !session.view().apn) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    values[kUser] = session.view().apn->first.toStdString();
    values[kPassword] = session.view().apn->second.toStdString();
    return {};
}

CliOutcome ApnParamsGroup::check(const SettingValues& values) const {
    const FormResult<ApnForm::Login> result =
        ApnForm::validate(valueText(values, kUser), valueText(values, kPassword));
    return result.ok() ? CliOutcome{} : CliOutcome{kCliRefused, result.refusal().toStdString()};
}

CliOutcome ApnParamsGroup::write(ReceiverSession& session, const SettingValues& values) {
    const FormResult<ApnForm::Login> result =
        ApnForm::validate(valueText(values, kUser), valueText(values, kPassword));
    if (!result.ok()) {
        return {kCliRefused, result.refusal().toStdString()};
    }
    const ApnForm::Login& login = result.record();
    session.settings().apnUserName = TextCodec::toBytes(login.userName);
    session.settings().apnPassword = TextCodec::toBytes(login.password);
    const std::optional<int> reply = session.request(
        [&] {
            session.exchange().request(CommandId::SetApnParams,
                                       requestargs::SetApnParams{login.userName, login.password});
        },
        {KindApnParamsSet});
    if (!reply) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    return {kCliOk, session.view().tip.toStdString()};
}

} // namespace kestrava
