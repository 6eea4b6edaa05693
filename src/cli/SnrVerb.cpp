#include "cli/SnrVerb.h"

#include "cli/Interruption.h"
#include "cli/ReceiverSession.h"
#include "cli/SecondsOption.h"
#include "cli/SettingGroup.h"
#include "exchange/CommandExchange.h"

#include <QElapsedTimer>

#include <algorithm>

namespace kestrava {
namespace {

// How often what arrived is printed.
constexpr int kPrintEveryMs = 100;
// After the stop command, the port is given this long to send it before it is closed.
constexpr int kDrainMs = 300;

int run(PortVerbContext& c) {
    std::string error;
    const int seconds = SnrVerb::seconds(c.args, error).value_or(SnrVerb::kDefaultSeconds);
    ReceiverSession& session = c.session;
    QByteArray& echoed = session.view().echoed;
    echoed.clear();

    session.exchange().request(CommandId::StartSnrTest);
    QElapsedTimer clock;
    clock.start();
    const qint64 limitMs = static_cast<qint64>(seconds) * 1000;
    // Ctrl-C ends the test as its time would: the stop command is always sent.
    while (clock.elapsed() < limitMs && !Interruption::requested() &&
           session.exchange().portOpen()) {
        session.pause(
            static_cast<int>(std::min<qint64>(kPrintEveryMs, limitMs - clock.elapsed() + 1)));
        if (!echoed.isEmpty()) {
            c.out.write(echoed.constData(), echoed.size());
            c.out.flush();
            echoed.clear();
        }
    }
    const bool lineLost = !session.exchange().portOpen();
    session.exchange().request(CommandId::StopSnrTest);
    session.settle([] { return false; }, kDrainMs);
    if (lineLost) {
        c.err << "The port was closed during the test\n";
        return kCliPortFailed;
    }
    return kCliOk;
}

} // namespace

std::optional<int> SnrVerb::seconds(const std::vector<std::string>& args, std::string& error) {
    return SecondsOption::parse(args, "snr", kDefaultSeconds, error);
}

PortVerb SnrVerb::make() {
    return {"snr",
            "[--seconds N]",
            "Run the net module's signal test: print what the receiver sends as it arrives,\n"
            "then stop the test after N seconds (10 by default) or on Ctrl-C.",
            true,
            [](const std::vector<std::string>& args, SettingsVerbs&) {
                std::string error;
                seconds(args, error);
                return error;
            },
            run};
}

} // namespace kestrava
