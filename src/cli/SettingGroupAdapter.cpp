#include "cli/SettingGroupAdapter.h"

#include "cli/ReceiverRequests.h"
#include "cli/ReceiverSession.h"

#include <algorithm>

namespace kestrava {

SettingGroupAdapter::SettingGroupAdapter(const SettingBinding& binding)
    : m_binding(binding), m_row(SettingTable::group(binding.group)) {}

std::vector<SettingKey> SettingGroupAdapter::keys() const {
    std::vector<SettingKey> keys;
    for (const SettingKeyRow& row : SettingTable::keys()) {
        if (row.group != m_binding.group) {
            continue;
        }
        for (int channel = 0; channel < std::max(row.channels, 1); ++channel) {
            keys.push_back({row.section, SettingTable::keyName(row, channel),
                            SettingTable::help(row, channel), row.readable, row.compare});
        }
    }
    return keys;
}

std::string SettingGroupAdapter::silence() const {
    return m_binding.throughRadio ? std::string(ReceiverRequests::kRadioSilent)
                                  : ReceiverSession::silenceText();
}

CliOutcome SettingGroupAdapter::read(ReceiverSession& session, SettingValues& values) {
    if (!m_row.read || m_binding.values == nullptr) {
        return {};
    }
    if (m_binding.throughRadio) {
        const CliOutcome connected = ReceiverRequests::connectRadio(session);
        if (!connected.ok()) {
            return connected;
        }
    }
    const CommandId command = *m_row.read;
    const int waitMs =
        m_binding.readWaitMs > 0 ? m_binding.readWaitMs : ReceiverSession::kReplyWaitMs;
    bool answered = false;
    const RequestDone take = [&](const RequestOutcome& got) {
        answered = ReceiverRequests::repliedWithOneOf(got, m_binding.readKinds) &&
                   m_binding.values(got, values);
    };
    const auto request = [&] {
        return m_binding.readChain
                   ? session.request(*m_binding.readChain, m_binding.readArguments, take, waitMs)
                   : session.request(command, m_binding.readArguments, take, waitMs);
    };
    CliOutcome outcome;
    if (m_binding.asksTip) {
        ReceiverRequests::ask(session, request, m_binding.readKinds, silence(), outcome);
    } else {
        request();
    }
    if (!answered) {
        return outcome.ok() ? CliOutcome{kCliNoReply, silence()} : outcome;
    }
    return {};
}

CliOutcome SettingGroupAdapter::check(const SettingValues& values) const {
    if (m_binding.form == nullptr) {
        return {};
    }
    SettingSend unused;
    return m_binding.form(values, nullptr, unused);
}

bool SettingGroupAdapter::carries(const SettingKey& key, const SettingValues& values) const {
    return m_binding.carries == nullptr || m_binding.carries(key.key, values);
}

CliOutcome SettingGroupAdapter::write(ReceiverSession& session, const SettingValues& values) {
    if (m_binding.write != nullptr) {
        return m_binding.write(session, values);
    }
    SettingSend send;
    if (m_binding.form != nullptr) {
        const CliOutcome refused = m_binding.form(values, &session, send);
        if (!refused.ok()) {
            return refused;
        }
    }
    std::string message;
    for (const SettingStep& step : send.steps) {
        if (step.before) {
            step.before(session);
        }
        const int waitMs = step.waitMs > 0 ? step.waitMs : ReceiverSession::kReplyWaitMs;
        const auto request = [&] {
            return step.chain ? session.request(*step.chain, step.arguments, {}, waitMs)
                              : session.request(step.command, step.arguments, {}, waitMs);
        };
        CliOutcome outcome;
        RequestOutcome got;
        if (m_binding.asksTip) {
            got = ReceiverRequests::ask(session, request, step.kinds, silence(), outcome);
        } else {
            got = request();
            outcome = {kCliNoReply, ReceiverSession::silenceText()};
        }
        if (!ReceiverRequests::repliedWithOneOf(got, step.kinds)) {
            return outcome;
        }
        if (step.failed != nullptr && got.value == 0) {
            return {kCliFailed, step.failed};
        }
        if (m_binding.reportsTip) {
            message += (message.empty() ? "" : "\n") + ReceiverRequests::tip(session);
        }
    }
    return {kCliOk, message};
}

} // namespace kestrava
