#pragma once

#include "cli/SettingGroup.h"

#include <functional>
#include <optional>
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

    // Sends, waits for one of kinds and gives back the reply's number (or -1 for a record);
    // outcome gets the no-reply status with the tip the exchange showed, or fallback when it
    // showed none.
    static std::optional<int> ask(ReceiverSession& session, const std::function<void()>& send,
                                  const std::vector<int>& kinds, int timeoutMs,
                                  const std::string& fallback, CliOutcome& outcome);

    // Connects the receiver's serial line through to its internal radio, as the Radio page
    // requires before any radio command.
    static CliOutcome connectRadio(ReceiverSession& session);

    // The tip line as it stands, in its final words.
    static std::string tip(ReceiverSession& session);
};

} // namespace kestrava
