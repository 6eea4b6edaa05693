#pragma once

#include "cli/SettingGroup.h"
#include "exchange/RequestOutcome.h"

#include <functional>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;

// The small steps the setting groups and verbs share when they talk to the receiver.
class ReceiverRequests {
public:
    // The exchange's words when the internal radio does not answer.
    static constexpr const char* kRadioSilent =
        "No reply from receiver,please check whether connect to internal radio successfully";

    // Clears the tip, runs request (one of the session's requests) and gives back its outcome;
    // unless that is a reply of one of kinds, outcome gets the no-reply status with the tip the
    // exchange showed, or fallback when it showed none.
    static RequestOutcome ask(ReceiverSession& session,
                              const std::function<RequestOutcome()>& request,
                              const std::vector<int>& kinds, const std::string& fallback,
                              CliOutcome& outcome);
    // Whether outcome is a reply of one of kinds.
    static bool repliedWithOneOf(const RequestOutcome& outcome, const std::vector<int>& kinds);

    // Connects the receiver's serial line through to its internal radio, as the Radio page
    // requires before any radio command.
    static CliOutcome connectRadio(ReceiverSession& session);

    // The tip line as it stands, in its final words.
    static std::string tip(ReceiverSession& session);
};

} // namespace kestrava
