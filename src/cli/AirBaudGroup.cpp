#include "cli/AirBaudGroup.h"

#include "cli/ReceiverRequests.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "forms/RadioForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {

constexpr const char* kName = "HZParams.AirBaud";
constexpr int kRadioWaitMs = CommandExchange::kRadioTimeoutMs + 1000;

} // namespace

std::vector<SettingKey> AirBaudGroup::keys() const {
    return {{"HZParams", "AirBaud", "internal radio's air baud rate: 9600 or 19200", true,
             SettingCompare::Number}};
}

CliOutcome AirBaudGroup::read(ReceiverSession& session, SettingValues& values) {
    CliOutcome outcome = ReceiverRequests::connectRadio(session);
    if (!outcome.ok()) {
        return outcome;
    }
    session.view().airBaud.reset();
    if (!ReceiverRequests::ask(
            session, [&session] { session.exchange().request(CommandId::ReadAirBaud); },
            {KindRadioAirBaud}, kRadioWaitMs, ReceiverRequests::kRadioSilent, outcome) ||
        !session.view().airBaud) {
        return outcome.ok() ? CliOutcome{kCliNoReply, ReceiverRequests::kRadioSilent} : outcome;
    }
    // As the page shows it: 19200 is 19200, any other rate the slower one.
    values[kName] = *session.view().airBaud == RadioForm::kFastAirBaud ? "19200" : "9600";
    return {};
}

CliOutcome AirBaudGroup::check(const SettingValues& values) const {
    const auto found = values.find(kName);
    const FormResult<std::int32_t> rate = RadioForm::airBaud(
        found != values.end() ? QString::fromStdString(found->second) : QString());
    return rate.ok() ? CliOutcome{} : CliOutcome{kCliRefused, rate.refusal().toStdString()};
}

CliOutcome AirBaudGroup::write(ReceiverSession& session, const SettingValues& values) {
    const auto found = values.find(kName);
    const FormResult<std::int32_t> rate = RadioForm::airBaud(
        found != values.end() ? QString::fromStdString(found->second) : QString());
    if (!rate.ok()) {
        return {kCliRefused, rate.refusal().toStdString()};
    }
    CliOutcome outcome;
    if (!ReceiverRequests::ask(
            session,
            [&] {
                session.exchange().request(CommandId::SetAirBaud,
                                           requestargs::SetAirBaud{rate.record()});
            },
            {KindRadioAirBaudSet}, kRadioWaitMs, ReceiverRequests::kRadioSilent, outcome)) {
        return outcome;
    }
    return {kCliOk, ReceiverRequests::tip(session)};
}

} // namespace kestrava
