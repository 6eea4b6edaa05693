#include "cli/StoreLocationGroup.h"

#include "cli/ReceiverSession.h"
#include "cli/StaticGroupSupport.h"
#include "exchange/CommandExchange.h"
#include "forms/StaticForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {
const char* const kLocation = "OtherParams.StaticLocation";
const char* const kRinex = "OtherParams.Rinex";
// The location has a reply timer of its own; the RINEX flag is read after it either way.
constexpr int kChainWaitMs =
    CommandExchange::kStoreLocationTimeoutMs + ReceiverSession::kReplyWaitMs;
} // namespace

std::vector<SettingKey> StoreLocationGroup::keys() const {
    return {{"OtherParams", "StaticLocation", "1 = SD card, 0 = internal FLASH", true,
             SettingCompare::Number},
            {"OtherParams", "Rinex", "1 = record RINEX as well, 0 = not", true,
             SettingCompare::Number}};
}

CliOutcome StoreLocationGroup::read(ReceiverSession& session, SettingValues& values) {
    ConsoleView& view = session.view();
    view.storeLocationCard.reset();
    view.rinex.reset();
    CommandExchange& exchange = session.exchange();
    session.request([&] { exchange.request(RequestChain::ReadStoreLocation); }, {KindRinexFlag},
                    kChainWaitMs);
    if (!view.rinex) {
        // The location times out into the flag's read: wait for that too.
        session.waitUntil([&] { return view.rinex.has_value(); }, ReceiverSession::kReplyWaitMs);
    }
    if (!view.storeLocationCard || !view.rinex) {
        return StaticGroupSupport::noReply();
    }
    values[kLocation] = *view.storeLocationCard ? "1" : "0";
    values[kRinex] = *view.rinex ? "1" : "0";
    return {};
}

CliOutcome StoreLocationGroup::check(const SettingValues& values) const {
    const auto location = StaticForm::onOff(StaticGroupSupport::text(values, kLocation),
                                            QString::fromLatin1(kLocation));
    if (!location.ok()) {
        return StaticGroupSupport::refused(location.refusal());
    }
    const auto rinex =
        StaticForm::onOff(StaticGroupSupport::text(values, kRinex), QString::fromLatin1(kRinex));
    return rinex.ok() ? CliOutcome{} : StaticGroupSupport::refused(rinex.refusal());
}

CliOutcome StoreLocationGroup::write(ReceiverSession& session, const SettingValues& values) {
    const auto location = StaticForm::onOff(StaticGroupSupport::text(values, kLocation),
                                            QString::fromLatin1(kLocation));
    if (!location.ok()) {
        return StaticGroupSupport::refused(location.refusal());
    }
    const auto rinex =
        StaticForm::onOff(StaticGroupSupport::text(values, kRinex), QString::fromLatin1(kRinex));
    if (!rinex.ok()) {
        return StaticGroupSupport::refused(rinex.refusal());
    }
    session.settings().staticLocation = location.record() ? 1 : 0;
    session.settings().rinex = rinex.record() ? 1 : 0;
    CommandExchange& exchange = session.exchange();
    const auto flagSet = session.request(
        [&] {
            exchange.request(RequestChain::SetStoreLocation,
                             requestargs::SetStoreLocation{location.record()});
        },
        {KindRinexFlagSet}, kChainWaitMs);
    if (!flagSet) {
        return StaticGroupSupport::noReply();
    }
    if (*flagSet == 0) {
        return StaticGroupSupport::failed(QStringLiteral("Fail to set Whether to record Rinex"));
    }
    return {};
}

} // namespace kestrava
