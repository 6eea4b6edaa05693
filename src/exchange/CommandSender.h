#pragma once

#include "exchange/RequestArguments.h"
#include "protocol/CommandId.h"
#include "protocol/DecoderState.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <optional>

namespace kestrava {

// Turns a command and its arguments into the frame that goes out, arming the one ExpectedReply
// with the reply that frame awaits. It decides how each command goes out (its progress tip,
// whether the firmware transfer bars it, whether it has a reply timer of its own), but never
// touches the port, the tip line or the timers: CommandExchange does, in the order of a send.
class CommandSender {
public:
    // How one command goes out.
    struct Plan {
        // The progress tip: nullptr leaves the tip line as it is, "" clears it.
        const char* tip = nullptr;
        // false: only an open port is asked for; the command belongs to the firmware transfer.
        bool guarded = true;
        // false: the receiver does not answer, and whatever was awaited before stays awaited.
        bool awaitsReply = true;
        // The command's own reply timer is armed after the frame.
        bool timed = false;
        // Non-null: nothing can be sent, and an error box says this (untranslated) text.
        const char* refusal = nullptr;
    };

    // Both references must outlive the sender.
    CommandSender(ExpectedReply& expected, DecoderState& state);

    CommandSender(const CommandSender&) = delete;
    CommandSender& operator=(const CommandSender&) = delete;

    // Whether arguments are the ones command carries.
    static bool carries(CommandId command, const RequestArguments& arguments);

    // How command goes out with arguments (which it must carry) to the receiver known so far;
    // nothing when the command cannot go to this receiver at all (a motherboard request for
    // another board, a voice switch code without a form).
    std::optional<Plan> plan(CommandId command, const RequestArguments& arguments) const;

    // The frame of command with arguments (which it must carry), with ExpectedReply armed for
    // its reply. fileListPosition is where a file-list page starts. Empty when the arguments
    // cannot be carried in one frame.
    Bytes build(CommandId command, const RequestArguments& arguments, int fileListPosition);

private:
    ExpectedReply& m_expected;
    DecoderState& m_state;
};

} // namespace kestrava
