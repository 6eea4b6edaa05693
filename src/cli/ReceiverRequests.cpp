#include "cli/ReceiverRequests.h"

#include "cli/Interruption.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "protocol/ReplyKind.h"

namespace kestrava {

std::optional<int> ReceiverRequests::ask(ReceiverSession& session,
                                         const std::function<void()>& send,
                                         const std::vector<int>& kinds, int timeoutMs,
                                         const std::string& fallback, CliOutcome& outcome) {
    session.view().tip.clear();
    const std::optional<int> value = session.request(send, kinds, timeoutMs);
    if (!value) {
        const std::string shown = tip(session);
        outcome = {kCliNoReply, Interruption::requested() ? ReceiverSession::silenceText()
                                : shown.empty()           ? fallback
                                                          : shown};
    }
    return value;
}

CliOutcome ReceiverRequests::connectRadio(ReceiverSession& session) {
    CliOutcome outcome;
    ask(
        session, [&session] { session.exchange().request(CommandId::ConnectInternalRadio); },
        {KindRadioConnected}, ReceiverSession::kReplyWaitMs, kRadioSilent, outcome);
    // The exchange's tip names "Connecting internal Radio..." while it waits: not an answer.
    if (!outcome.ok()) {
        outcome.message = kRadioSilent;
    }
    session.view().messages.clear(); // the connection's box is no news on the command line
    return outcome;
}

std::string ReceiverRequests::tip(ReceiverSession& session) {
    return session.view().tip.toStdString();
}

} // namespace kestrava
