#include "cli/RadioChannelsGroup.h"

#include "cli/ReceiverRequests.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "forms/RadioForm.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {

constexpr const char* kSection = "HZParams";

std::string sendKey(int channel) {
    return "HZSend" + std::to_string(channel);
}

std::string receiveKey(int channel) {
    return "HZReceive" + std::to_string(channel);
}

std::string name(const std::string& key) {
    return std::string(kSection) + '.' + key;
}

QString valueOf(const SettingValues& values, const std::string& key) {
    const auto found = values.find(name(key));
    return found != values.end() ? QString::fromStdString(found->second) : QString();
}

// A radio command gets its answer within the radio's time-out, or the time-out's text.
constexpr int kRadioWaitMs = CommandExchange::kRadioTimeoutMs + 1000;

} // namespace

std::vector<SettingKey> RadioChannelsGroup::keys() const {
    std::vector<SettingKey> keys;
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        keys.push_back(
            {kSection, sendKey(channel),
             "transmit frequency of channel " + std::to_string(channel) +
                 ", MHz as xxx.xxx in steps of 0.025 (reading connects the internal radio first)",
             true, SettingCompare::Frequency});
    }
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        keys.push_back({kSection, receiveKey(channel),
                        "receive frequency of channel " + std::to_string(channel) +
                            ", MHz as xxx.xxx in steps of 0.025",
                        true, SettingCompare::Frequency});
    }
    return keys;
}

CliOutcome RadioChannelsGroup::read(ReceiverSession& session, SettingValues& values) {
    CliOutcome outcome = ReceiverRequests::connectRadio(session);
    if (!outcome.ok()) {
        return outcome;
    }
    session.view().channels.reset();
    if (!ReceiverRequests::ask(
            session, [&session] { session.exchange().request(CommandId::ReadRadioChannels); },
            {KindRadioChannels}, kRadioWaitMs, ReceiverRequests::kRadioSilent, outcome) ||
        !session.view().channels) {
        return outcome.ok() ? CliOutcome{kCliNoReply, ReceiverRequests::kRadioSilent} : outcome;
    }
    const ChannelTable& table = *session.view().channels;
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        const ChannelPair& pair = table[static_cast<std::size_t>(channel)];
        values[name(sendKey(channel))] = RadioForm::frequencyText(pair.transmit).toStdString();
        values[name(receiveKey(channel))] = RadioForm::frequencyText(pair.receive).toStdString();
    }
    return {};
}

CliOutcome RadioChannelsGroup::check(const SettingValues& values) const {
    // A value off the radio's steps is named by its key, so the user knows which one to fix.
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        for (const std::string& key : {sendKey(channel), receiveKey(channel)}) {
            const QString text = valueOf(values, key);
            const FormResult<float> frequency = RadioForm::frequency(text);
            if (!frequency.ok() && frequency.refusalKey() != RadioForm::formatMessage()) {
                return {kCliRefused, name(key) + ": " + frequency.refusal().toStdString()};
            }
        }
    }
    QStringList transmit;
    QStringList receive;
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        transmit.append(valueOf(values, sendKey(channel)));
        receive.append(valueOf(values, receiveKey(channel)));
    }
    const FormResult<ChannelTable> table = RadioForm::channels(transmit, receive);
    return table.ok() ? CliOutcome{} : CliOutcome{kCliRefused, table.refusal().toStdString()};
}

CliOutcome RadioChannelsGroup::write(ReceiverSession& session, const SettingValues& values) {
    QStringList transmit;
    QStringList receive;
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        transmit.append(valueOf(values, sendKey(channel)));
        receive.append(valueOf(values, receiveKey(channel)));
    }
    const CliOutcome refused = check(values);
    if (!refused.ok()) {
        return refused;
    }
    const FormResult<ChannelTable> table = RadioForm::channels(transmit, receive);
    if (!table.ok()) {
        return {kCliRefused, table.refusal().toStdString()};
    }
    session.settings().channels = table.record();
    CliOutcome outcome;
    if (!ReceiverRequests::ask(
            session,
            [&] {
                session.exchange().request(CommandId::WriteRadioChannels,
                                           requestargs::WriteRadioChannels{table.record()});
            },
            {KindRadioChannelsSet}, kRadioWaitMs, ReceiverRequests::kRadioSilent, outcome)) {
        return outcome;
    }
    return {kCliOk, ReceiverRequests::tip(session)};
}

} // namespace kestrava
