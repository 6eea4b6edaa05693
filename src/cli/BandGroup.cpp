#include "cli/BandGroup.h"

#include "cli/ReceiverRequests.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "forms/AdvancedForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {

constexpr const char* k2G = "OtherParams.Band2G";
constexpr const char* k3G = "OtherParams.Band3G";

QString valueOf(const SettingValues& values, const char* name) {
    const auto found = values.find(name);
    return found != values.end() ? QString::fromStdString(found->second) : QString();
}

} // namespace

std::vector<SettingKey> BandGroup::keys() const {
    return {{"OtherParams", "Band2G",
             "2G band of the net module: the item index of its list (UC864, HE910, GC864: 0..3; "
             "SL6087: 0..7)",
             true, SettingCompare::Number},
            {"OtherParams", "Band3G",
             "3G band of the net module: the item index of its list (UC864: 0..6; HE910: 0..7); "
             "0 is sent for modules without 3G",
             true, SettingCompare::Number}};
}

CliOutcome BandGroup::read(ReceiverSession& session, SettingValues& values) {
    session.view().band.reset();
    CliOutcome outcome;
    if (!ReceiverRequests::ask(
            session, [&session] { session.exchange().request(CommandId::ReadNetModuleBand); },
            {KindNetBand}, ReceiverSession::kReplyWaitMs, ReceiverSession::silenceText(),
            outcome) ||
        !session.view().band) {
        return outcome.ok() ? CliOutcome{kCliNoReply, ReceiverSession::silenceText()} : outcome;
    }
    values[k2G] = std::to_string(session.view().band->band2g);
    values[k3G] = std::to_string(session.view().band->band3g);
    return {};
}

CliOutcome BandGroup::write(ReceiverSession& session, const SettingValues& values) {
    // The lists are those of the module the band reply named; before one, the main information's.
    int module = session.exchange().decoderState().mainInfo.gprsModuleCode;
    if (session.view().band) {
        module = session.view().band->moduleCode;
    }
    const FormResult<BandChoice> choice =
        AdvancedForm::band(module, valueOf(values, k2G), valueOf(values, k3G));
    if (!choice.ok()) {
        return {kCliRefused, choice.refusal().toStdString()};
    }
    CliOutcome outcome;
    if (!ReceiverRequests::ask(
            session,
            [&] {
                session.exchange().request(
                    CommandId::SetNetModuleBand,
                    requestargs::SetNetModuleBand{choice.record().band2G, choice.record().band3G});
            },
            {KindNetBandSet}, ReceiverSession::kReplyWaitMs, ReceiverSession::silenceText(),
            outcome)) {
        return outcome;
    }
    return {kCliOk, ReceiverRequests::tip(session)};
}

} // namespace kestrava
