#include "cli/CollectParamsGroup.h"

#include "cli/ReceiverSession.h"
#include "cli/StaticGroupSupport.h"
#include "exchange/CommandExchange.h"
#include "forms/StaticForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {
const char* const kInterval = "CollectParams.CollecInterval";
const char* const kCutOff = "CollectParams.CutOff";
} // namespace

std::vector<SettingKey> CollectParamsGroup::keys() const {
    return {{"CollectParams", "CollecInterval", "recording interval in seconds, 1-255", true,
             SettingCompare::Number},
            {"CollectParams", "CutOff", "elevation cut-off in degrees, 0-90", true,
             SettingCompare::Number}};
}

CliOutcome CollectParamsGroup::read(ReceiverSession& session, SettingValues& values) {
    CommandExchange& exchange = session.exchange();
    if (!session.request([&] { exchange.request(CommandId::ReadCollectParams); },
                         {KindCollectParams}) ||
        !session.view().collect) {
        return StaticGroupSupport::noReply();
    }
    values[kInterval] = std::to_string(session.view().collect->first);
    values[kCutOff] = std::to_string(session.view().collect->second);
    return {};
}

CliOutcome CollectParamsGroup::check(const SettingValues& values) const {
    const auto form = StaticForm::collect(StaticGroupSupport::text(values, kInterval),
                                          StaticGroupSupport::text(values, kCutOff));
    return form.ok() ? CliOutcome{} : StaticGroupSupport::refused(form.refusal());
}

CliOutcome CollectParamsGroup::write(ReceiverSession& session, const SettingValues& values) {
    const auto form = StaticForm::collect(StaticGroupSupport::text(values, kInterval),
                                          StaticGroupSupport::text(values, kCutOff));
    if (!form.ok()) {
        return StaticGroupSupport::refused(form.refusal());
    }
    const StaticForm::Collect& record = form.record();
    session.settings().collectInterval = record.intervalSeconds;
    session.settings().cutOff = record.cutoffDegrees;
    CommandExchange& exchange = session.exchange();
    if (!session.request(
            [&] {
                exchange.request(
                    CommandId::SetCollectParams,
                    requestargs::SetCollectParams{record.intervalSeconds, record.cutoffDegrees});
            },
            {KindCollectParamsSet})) {
        return StaticGroupSupport::noReply();
    }
    return {};
}

} // namespace kestrava
