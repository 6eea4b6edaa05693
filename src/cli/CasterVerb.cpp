#include "cli/CasterVerb.h"

#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "exchange/TextCodec.h"
#include "ntrip/CasterSession.h"
#include "ntrip/CasterWords.h"
#include "protocol/ReplyKind.h"

#include <QEventLoop>

#include <optional>

namespace kestrava {
namespace {

constexpr int kUsage = 1;
constexpr int kNoAnswer = 3;
constexpr int kRefused = 4;

struct CheckOptions {
    NtripRequest request;
    int seconds = CasterVerb::kDefaultSeconds;
};

// HOST or HOST:PORT (2101 when no port is given).
bool parseAddress(const std::string& text, NtripRequest& request, std::string& error) {
    const auto colon = text.rfind(':');
    request.host = text.substr(0, colon);
    request.port = 2101;
    if (colon != std::string::npos) {
        const std::string port = text.substr(colon + 1);
        if (port.empty() || port.size() > 5 ||
            port.find_first_not_of("0123456789") != std::string::npos || std::stoi(port) > 65535 ||
            std::stoi(port) == 0) {
            error = "caster: \"" + port + "\" is not a port (1-65535)";
            return false;
        }
        request.port = std::stoi(port);
    }
    if (request.host.empty()) {
        error = "caster: which caster? (HOST or HOST:PORT)";
        return false;
    }
    return true;
}

// --user, --password, --seconds and --ntrip from position start on.
bool parseOptions(const std::vector<std::string>& args, std::size_t start, CheckOptions& options,
                  bool allowLogin, std::string& error) {
    for (std::size_t i = start; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            error = "caster: " + option +
                    (option.rfind("--", 0) == 0 ? " needs a value" : ": unexpected word");
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--user" && allowLogin) {
            options.request.user = value;
        } else if (option == "--password" && allowLogin) {
            options.request.password = value;
        } else if (option == "--seconds") {
            if (value.empty() || value.size() > 4 ||
                value.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(value) < 1) {
                error = "caster: --seconds takes a whole number of seconds, 1 or more";
                return false;
            }
            options.seconds = std::stoi(value);
        } else if (option == "--ntrip" && (value == "1" || value == "2")) {
            options.request.version =
                value == "2" ? NtripRequest::Version::V2 : NtripRequest::Version::V1;
        } else {
            error = "caster: unknown option \"" + option + "\" (kestrava-cli caster --help)";
            return false;
        }
    }
    return true;
}

CasterOutcome converse(const NtripRequest& request, int seconds) {
    CasterSession session;
    std::optional<CasterOutcome> outcome;
    QEventLoop loop;
    QObject::connect(&session, &CasterSession::finished, &loop,
                     [&outcome, &loop](const CasterOutcome& o) {
                         outcome = o;
                         loop.quit();
                     });
    CasterSession::Limits limits;
    limits.listenMs = seconds * 1000;
    session.start(request, limits);
    if (!outcome) {
        loop.exec();
    }
    return outcome.value_or(CasterOutcome{});
}

int statusOf(const CasterOutcome& outcome) {
    switch (outcome.result) {
    case CasterOutcome::Result::Sourcetable:
        return 0;
    case CasterOutcome::Result::Accepted:
        return outcome.validFrames() > 0 ? 0 : kNoAnswer;
    case CasterOutcome::Result::Refused:
    case CasterOutcome::Result::UnknownMount:
        return kRefused;
    default:
        return kNoAnswer;
    }
}

int check(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    const CasterOutcome outcome = converse(options.request, options.seconds);
    const std::string words =
        CasterWords::describe(outcome, QString::fromStdString(options.request.mountPoint))
            .english()
            .toStdString();
    const int status = statusOf(outcome);
    (status == 0 ? out : err) << words << '\n';
    if (outcome.result == CasterOutcome::Result::Accepted) {
        for (const auto& [number, count] : outcome.messages) {
            out << "RTCM 3 " << number << '\t' << count << '\n';
        }
        out << "bytes\t" << outcome.bytes << "\tseconds\t"
            << QString::number(outcome.seconds, 'f', 1).toStdString() << "\trate\t"
            << CasterWords::rateText(outcome).toStdString() << " kB/s\n";
        if (outcome.badFrames > 0) {
            out << "frames with a bad CRC\t" << outcome.badFrames << '\n';
        }
        if (outcome.station) {
            out << "base station " << outcome.station->stationId << '\t'
                << CasterWords::positionText(outcome.station->geodetic()).toStdString() << '\n';
        }
    }
    return status;
}

int list(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    const CasterOutcome outcome = converse(options.request, options.seconds);
    if (outcome.result != CasterOutcome::Result::Sourcetable) {
        err << CasterWords::describe(outcome, {}).english().toStdString() << '\n';
        return statusOf(outcome);
    }
    for (const StreamEntry& s : outcome.table.streams()) {
        out << s.mountPoint << '\t' << s.format << '\t' << s.formatDetails << '\t' << s.navSystems
            << '\t' << s.country << '\t' << s.latitude << '\t' << s.longitude << '\t'
            << s.authentication << '\n';
    }
    if (!outcome.table.complete()) {
        err << "note: the sourcetable ended before its ENDSOURCETABLE line\n";
    }
    return 0;
}

std::string text(const ByteString& bytes) {
    return TextCodec::toText(bytes).toStdString();
}

int checkReceiver(PortVerbContext& c) {
    CheckOptions options;
    std::string error;
    if (c.args.empty() || c.args.front() != "check" ||
        !parseOptions(c.args, 1, options, false, error)) {
        c.err << "kestrava-cli: " << (error.empty() ? "usage: caster check [--seconds N]" : error)
              << '\n';
        return kUsage;
    }
    ReceiverSession& session = c.session;
    std::optional<NetParams> read;
    session.request(CommandId::ReadNetParams, requestargs::NoArguments{},
                    [&read](const RequestOutcome& outcome) {
                        if (const NetParams* params = outcome.record<NetParams>(KindNetParams)) {
                            read = *params;
                        }
                    });
    if (!read) {
        c.err << "No reply from receiver\n";
        return kCliNoReply;
    }
    const NetParams& net = *read;
    if (net.netMode != 0 || net.communicationMode == 1) {
        c.err << "The receiver is set to " << (net.netMode != 0 ? "IntRTK" : "GSM dial-up")
              << ": there is no caster to check\n";
        return kCliRefused;
    }
    options.request.host = net.isUrl
                               ? text(net.url)
                               : std::to_string(net.ip[0]) + '.' + std::to_string(net.ip[1]) + '.' +
                                     std::to_string(net.ip[2]) + '.' + std::to_string(net.ip[3]);
    options.request.port = net.port;
    options.request.mountPoint = text(net.sourceNode);
    options.request.user = text(net.vrsName);
    options.request.password = text(net.vrsPassword);
    c.out << "caster " << options.request.host << ':' << options.request.port << ", mount point "
          << options.request.mountPoint << ", user " << options.request.user << '\n';
    return check(options, c.out, c.err);
}

} // namespace

void CasterVerb::printHelp(std::ostream& out) {
    out << "  kestrava-cli caster list HOST[:PORT] [--ntrip 1|2]\n"
           "      Ask a caster for its sourcetable and print its mount points, one a line,\n"
           "      tab-separated: mount point, format, format details, navigation systems,\n"
           "      country, latitude, longitude, authentication.\n"
           "  kestrava-cli caster check HOST[:PORT] MOUNT [--user U] [--password P]\n"
           "                            [--seconds N] [--ntrip 1|2]\n"
           "      Log in to a mount point, listen N seconds (5 by default) and print the\n"
           "      outcome, the RTCM 3 message numbers with their counts and the data rate.\n"
           "      Exit 0 when the login was accepted and RTCM 3 data arrived, 3 when the\n"
           "      caster cannot be reached or sends nothing, 4 when it refuses the login or\n"
           "      has no such mount point. The port is 2101 unless given.\n";
}

int CasterVerb::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CheckOptions options;
    std::string error;
    const std::string what = args.empty() ? std::string() : args.front();
    if (what == "list" && args.size() >= 2 && parseAddress(args[1], options.request, error) &&
        parseOptions(args, 2, options, true, error)) {
        return list(options, out, err);
    }
    if (what == "check" && args.size() >= 3 && parseAddress(args[1], options.request, error) &&
        parseOptions(args, 3, options, true, error)) {
        options.request.mountPoint = args[2];
        return check(options, out, err);
    }
    err << "kestrava-cli: "
        << (error.empty() ? "caster: usage: caster list HOST[:PORT] | caster check HOST[:PORT] "
                            "MOUNT [--user U] [--password P] [--seconds N]"
                          : error)
        << '\n';
    return kUsage;
}

PortVerb CasterVerb::verb() {
    return {"caster",
            "check [--seconds N]",
            "Check the caster the receiver is set to use, from this computer: read its network\n"
            "parameters and log in with exactly its address, port, mount point, user and\n"
            "password, listen N seconds (5 by default) and print what came. In IntRTK or GSM\n"
            "mode there is no caster to check (exit 2).",
            true,
            [](const std::vector<std::string>& args, SettingsVerbs&) {
                CheckOptions options;
                std::string error;
                if (args.empty() || args.front() != "check") {
                    return std::string("caster: usage: caster check [--seconds N]");
                }
                parseOptions(args, 1, options, false, error);
                return error;
            },
            checkReceiver};
}

} // namespace kestrava
