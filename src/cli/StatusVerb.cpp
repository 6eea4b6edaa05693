#include "cli/StatusVerb.h"

#include "cli/Interruption.h"
#include "cli/ReceiverSession.h"
#include "cli/SecondsOption.h"
#include "cli/SettingGroup.h"
#include "exchange/CommandExchange.h"
#include "protocol/NmeaDecoder.h"

#include <QElapsedTimer>

#include <cmath>
#include <cstdio>
#include <optional>

namespace kestrava {
namespace {

std::optional<int> secondsOf(const std::vector<std::string>& args, std::string& error) {
    return SecondsOption::parse(args, "status", StatusVerb::kDefaultSeconds, error);
}

std::string fixed(const std::optional<double>& value, int decimals, const char* unit = "") {
    if (!value) {
        return "-";
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.*f%s", decimals, *value, unit);
    return text;
}

std::string angle(const std::optional<double>& value, char positive, char negative) {
    if (!value) {
        return "-";
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.8f %c", std::fabs(*value),
                  *value < 0 ? negative : positive);
    return text;
}

std::string timeOf(const std::string& hhmmss) {
    if (hhmmss.size() < 6) {
        return "-";
    }
    return hhmmss.substr(0, 2) + ':' + hhmmss.substr(2, 2) + ':' + hhmmss.substr(4);
}

int run(PortVerbContext& c) {
    std::string error;
    const int seconds = secondsOf(c.args, error).value_or(StatusVerb::kDefaultSeconds);
    ReceiverSession& session = c.session;
    QByteArray& echoed = session.view().echoed;
    echoed.clear();
    NmeaDecoder decoder;
    QElapsedTimer clock;
    clock.start();
    // Ctrl-C ends the watch early, as its time would.
    for (int second = 1;
         second <= seconds && session.exchange().portOpen() && !Interruption::requested();
         ++second) {
        session.pause(static_cast<int>(std::max<qint64>(0, second * 1000 - clock.elapsed())));
        decoder.feed(reinterpret_cast<const std::uint8_t*>(echoed.constData()),
                     static_cast<std::size_t>(echoed.size()));
        echoed.clear();
        if (decoder.count("GGA") > 0) {
            c.out << StatusVerb::line(decoder.fix()) << '\n';
            c.out.flush();
        }
    }
    if (decoder.count("GGA") == 0) {
        c.err << "No position from the receiver: no GGA sentence arrived in " << seconds
              << " s. Set its data output to this port first (the Advanced page's Data Output, "
                 "or set OtherParams.NMEA).\n";
        return kCliNoReply;
    }
    return kCliOk;
}

} // namespace

std::string StatusVerb::line(const NmeaFix& fix) {
    const char* name = NmeaFix::qualityName(fix.quality);
    return timeOf(fix.time) + '\t' + (*name != '\0' ? name : "-") + '\t' +
           (fix.satellites >= 0 ? std::to_string(fix.satellites) + " sats" : std::string("-")) +
           "\tHDOP " + fixed(fix.hdop, 1) + "\tage " + fixed(fix.age, 1, " s") + '\t' +
           angle(fix.latitude, 'N', 'S') + '\t' + angle(fix.longitude, 'E', 'W') + '\t' +
           fixed(fix.height, 2, " m");
}

PortVerb StatusVerb::verb() {
    return {"status",
            "[--seconds N]",
            "Show the receiver's live fix from the NMEA it sends on this port, one line a\n"
            "second for N seconds (5 by default): time, fix type, satellites, HDOP, age of\n"
            "corrections, latitude, longitude, height. Exit 3 when no GGA arrives (set the data\n"
            "output to this port first).",
            true,
            [](const std::vector<std::string>& args, SettingsVerbs&) {
                std::string error;
                secondsOf(args, error);
                return error;
            },
            run};
}

} // namespace kestrava
