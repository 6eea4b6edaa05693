#include "cli/ReceiverRequests.h"

#include "cli/Interruption.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "protocol/ReplyKind.h"

namespace kestrava {

RequestOutcome ReceiverRequests::ask(ReceiverSession& session,
                                     const std::function<RequestOutcome()>& request,
                                     const std::vector<int>& kinds, const std::string& fallback,
                                     CliOutcome& outcome) {
    session.view().tip.clear();
    RequestOutcome got = request();
    if (!repliedWithOneOf(got, kinds)) {
        const std::string shown = tip(session);
        outcome = {kCliNoReply, Interruption::requested() ? ReceiverSession::silenceText()
                                : shown.empty()           ? fallback
                                                          : shown};
    }
    return got;
}

bool ReceiverRequests::repliedWithOneOf(const RequestOutcome& outcome,
                                        const std::vector<int>& kinds) {
    for (const int kind : kinds) {
        if (outcome.repliedWith(kind)) {
            return true;
        }
    }
    return false;
}

CliOutcome ReceiverRequests::connectRadio(ReceiverSession& session) {
    CliOutcome outcome;
    ask(
        session,
        [&session] {
            return session.request(CommandId::ConnectInternalRadio, requestargs::NoArguments{});
        },
        {KindRadioConnected}, kRadioSilent, outcome);
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
