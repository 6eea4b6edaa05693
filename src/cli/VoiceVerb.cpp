#include "cli/VoiceVerb.h"

#include "cli/ReceiverRequests.h"
#include "cli/ReceiverSession.h"
#include "protocol/ReplyKind.h"

namespace kestrava {
namespace {

std::string check(const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) {
        return "voice: usage: voice on|off";
    }
    return {};
}

int run(PortVerbContext& c) {
    const bool on = c.args.at(0) == "on";
    CliOutcome outcome;
    const int kind = on ? KindVoiceOn : KindVoiceOff;
    const RequestOutcome done = ReceiverRequests::ask(
        c.session,
        [&] {
            return c.session.request(CommandId::VoiceSwitch,
                                     requestargs::VoiceSwitch{on ? VoiceSwitchCode::VoiceOn
                                                                 : VoiceSwitchCode::VoiceOff});
        },
        {kind}, ReceiverSession::silenceText(), outcome);
    if (!done.repliedWith(kind)) {
        // The tip still reads "Enableing voice...": the receiver's silence is the news.
        c.err << ReceiverSession::silenceText() << '\n';
        return kCliNoReply;
    }
    c.out << ReceiverRequests::tip(c.session) << '\n';
    return kCliOk;
}

} // namespace

PortVerb VoiceVerb::make() {
    return {"voice",
            "on|off",
            "Switch the voice prompts on or off (receivers below type Q; newer ones set\n"
            "OtherParams.Voice and OtherParams.Volume).",
            true,
            [](const std::vector<std::string>& args, SettingsVerbs&) { return check(args); },
            run};
}

} // namespace kestrava
