#include "cli/PortVerbs.h"

#include "cli/CasterVerb.h"
#include "cli/FilesVerb.h"
#include "cli/FirmwareVerb.h"
#include "cli/Interruption.h"
#include "cli/PasswordVerb.h"
#include "cli/ProfileVerbs.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "cli/SettingGroups.h"
#include "cli/SettingsVerbs.h"
#include "cli/SnrVerb.h"
#include "cli/StatusVerb.h"
#include "cli/VoiceVerb.h"
#include "exchange/ProtocolTrace.h"

namespace kestrava {
namespace {

int info(PortVerbContext& c) {
    // Closing empties the panel, as the window's Close does: print what was read first.
    const ConsoleView& view = c.session.view();
    for (std::size_t i = 0; i < view.panel.size(); ++i) {
        c.out << ConsoleView::kPanelLabels[i] << ' ' << view.panel[i].toStdString() << '\n';
    }
    return kCliOk;
}

std::vector<PortVerb> makeVerbs() {
    std::vector<PortVerb> verbs;
    verbs.push_back({"info", "",
                     "Print the main information panel, one \"Label: value\" line per field.", true,
                     nullptr, info});
    verbs.push_back(
        {"get", "[SECTION...]",
         "Read every readable setting of the named sections (all when none is named) and\n"
         "print them as INI text, which set --from accepts.",
         true, nullptr,
         [](PortVerbContext& c) { return c.settings.get(c.session, c.args, c.out, c.err); }});
    verbs.push_back(
        {"set", "Section.Key=value... | --from FILE",
         "Read the current values of each group touched, change the given keys, check them\n"
         "as the window does, send each group as one set and wait for the receiver to confirm.",
         true,
         [](const std::vector<std::string>& args, SettingsVerbs& settings) {
             SettingValues changes;
             std::string error;
             return settings.parseAssignments(args, changes, error) ? std::string() : error;
         },
         [](PortVerbContext& c) { return c.settings.set(c.session, c.args, c.out, c.err); }});
    verbs.push_back(PasswordVerb::verb());
    verbs.push_back(
        {"diff", "FILE",
         "Compare the receiver with a profile (the INI text get prints, or the window's\n"
         "recvcfg.ini): one \"Section.Key: receiver VALUE, profile VALUE\" line per key that\n"
         "differs. Exit 0 when nothing differs, 1 when something does, 2 on an error.",
         true,
         [](const std::vector<std::string>& args, SettingsVerbs& settings) {
             return ProfileVerbs::checkArguments(args, false, settings);
         },
         [](PortVerbContext& c) {
             return ProfileVerbs::diff(c.session, c.settings, c.args, c.out, c.err);
         },
         2});
    verbs.push_back(
        {"apply", "FILE [--dry-run]",
         "Bring the receiver to a profile: check every value as the window does (one refused\n"
         "value stops everything), set only the groups that differ, read them back and print\n"
         "per key \"set\", \"unchanged\", \"FAILED (receiver VALUE)\" or \"sent, not\n"
         "verifiable\". Exit 0 only when every key now matches. --dry-run prints what would\n"
         "be sent and sends nothing.",
         true,
         [](const std::vector<std::string>& args, SettingsVerbs& settings) {
             return ProfileVerbs::checkArguments(args, true, settings);
         },
         [](PortVerbContext& c) {
             return ProfileVerbs::apply(c.session, c.settings, c.args, c.out, c.err, c.report);
         }});
    verbs.push_back(VoiceVerb::make());
    verbs.push_back(SnrVerb::make());
    verbs.push_back(
        {"files",
         "list | download NAME [--output PATH] | download --all [--output DIR] |\n"
         "      delete NAME... | format [--yes]",
         "The receiver's static files. list: one line per file, tab-separated: name, size as\n"
         "the window shows it, exact bytes, date and time (ISO 8601). download: copies a file\n"
         "(NAME as list prints it) to PATH (default: NAME here), or every file into DIR; the\n"
         "copy grows in PATH.part and replaces PATH only once complete. delete: deletes the\n"
         "named files. format: deletes every file (asks on a terminal; otherwise needs --yes).",
         true,
         [](const std::vector<std::string>& args, SettingsVerbs&) {
             return FilesVerb::check(args);
         },
         FilesVerb::run});
    verbs.push_back(FirmwareVerb::verb());
    verbs.push_back(CasterVerb::verb());
    verbs.push_back(StatusVerb::verb());
    return verbs;
}

} // namespace

const std::vector<PortVerb>& PortVerbs::all() {
    static const std::vector<PortVerb> verbs = makeVerbs();
    return verbs;
}

int PortVerbs::run(const std::string& device, const std::vector<std::string>& verbAndArgs,
                   std::ostream& out, std::ostream& err, const std::string& traceFile,
                   PortReport* report) {
    if (verbAndArgs.empty()) {
        err << "kestrava-cli: --port " << device << ": which verb? (try --help)\n";
        return kCliUsage;
    }
    const std::string& name = verbAndArgs.front();
    const std::vector<std::string> args(verbAndArgs.begin() + 1, verbAndArgs.end());
    const PortVerb* verb = nullptr;
    for (const PortVerb& candidate : all()) {
        if (candidate.name == name) {
            verb = &candidate;
        }
    }
    if (verb == nullptr) {
        err << "kestrava-cli: unknown verb \"" << name << "\" (try --help)\n";
        return kCliUsage;
    }
    if (asksForHelp(args)) {
        printVerbHelp(name, out);
        return kCliOk;
    }
    SettingsVerbs settings(SettingGroups::all());
    if (verb->check) {
        const std::string problem = verb->check(args, settings);
        if (!problem.empty()) {
            err << "kestrava-cli: " << problem << '\n';
            return verb->errorStatus != 0 ? verb->errorStatus : kCliUsage;
        }
    }
    ProtocolTrace trace;
    if (!traceFile.empty()) {
        QString error;
        if (!trace.open(QString::fromStdString(traceFile), error)) {
            err << "kestrava-cli: cannot write the trace to \"" << traceFile
                << "\": " << error.toStdString() << '\n';
            return verb->errorStatus != 0 ? verb->errorStatus : kCliUsage;
        }
    }
    // A trace that could not be written is said once, at the end, and the verb does not exit 0:
    // the user asked for a record and has none.
    const auto traced = [&](int status) {
        if (!trace.failed()) {
            return status;
        }
        err << "kestrava-cli: the trace could not be written to \"" << traceFile
            << "\": " << trace.failure().toStdString() << '\n';
        if (status != kCliOk) {
            return status;
        }
        return verb->errorStatus != 0 ? verb->errorStatus : kCliUsage;
    };
    // Ctrl-C from here on winds the session up instead of ending the program mid-command.
    const Interruption::Guard interruptible;
    const auto interrupted = [&](int status) {
        if (status == kCliOk || !Interruption::requested()) {
            return status;
        }
        err << "Interrupted: stopped, the port is closed\n";
        return Interruption::kExitStatus;
    };
    ReceiverSession session(err, trace.isOpen() ? &trace : nullptr);
    switch (session.open(QString::fromStdString(device), verb->readsMainInfo)) {
    case ReceiverSession::OpenResult::OpenFail:
        err << "Open fail (" << device << ")\n";
        return traced(verb->errorStatus != 0 ? verb->errorStatus : kCliPortFailed);
    case ReceiverSession::OpenResult::NoReply:
        if (Interruption::requested()) {
            session.close();
            return traced(interrupted(kCliNoReply));
        }
        err << "No reply from receiver\n";
        return traced(verb->errorStatus != 0 ? verb->errorStatus : kCliNoReply);
    case ReceiverSession::OpenResult::Ok:
        break;
    }
    if (report != nullptr) {
        const ConsoleView& view = session.view();
        report->opened = true;
        report->version = view.panel[0].toStdString();
        report->serialNumber = view.panel[1].toStdString();
        report->motherboard = view.panel[2].toStdString();
    }
    PortVerbContext context{session, settings, args, out, err, report};
    const int status = verb->run(context);
    session.close();
    return traced(interrupted(status));
}

namespace {

void printVerb(const PortVerb& verb, std::ostream& out) {
    out << "  " << verb.name;
    if (!verb.usage.empty()) {
        out << ' ' << verb.usage;
    }
    out << '\n';
    std::string::size_type start = 0;
    while (start < verb.help.size()) {
        const auto end = verb.help.find('\n', start);
        out << "      " << verb.help.substr(start, end - start) << '\n';
        start = end == std::string::npos ? verb.help.size() : end + 1;
    }
}

} // namespace

bool PortVerbs::asksForHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return true;
        }
    }
    return false;
}

bool PortVerbs::printVerbHelp(const std::string& name, std::ostream& out) {
    for (const PortVerb& verb : all()) {
        if (verb.name != name) {
            continue;
        }
        out << "Usage: kestrava-cli --port DEVICE " << verb.name;
        if (!verb.usage.empty()) {
            out << ' ' << verb.usage;
        }
        out << "\n\n";
        printVerb(verb, out);
        if (name == "get" || name == "set" || name == "diff" || name == "apply") {
            out << "\nSettings (Section.Key, names in any letter case):\n";
            SettingsVerbs(SettingGroups::all()).printKeys(out);
        }
        out << "\nExit status: 0 done, 1 bad usage, 2 input refused (nothing was sent), 3 no\n"
               "reply from the receiver, 4 the receiver reported a failure, 5 the port cannot be\n"
               "opened, 130 interrupted (Ctrl-C: the port is closed, a download's part kept).\n";
        return true;
    }
    return false;
}

void PortVerbs::printHelp(std::ostream& out) {
    out << "Verbs on a receiver (kestrava-cli --port DEVICE VERB ...):\n";
    for (const PortVerb& verb : all()) {
        printVerb(verb, out);
    }
    out << "\nSettings (Section.Key, names in any letter case):\n";
    SettingsVerbs(SettingGroups::all()).printKeys(out);
    out << "\nExit status of the verbs on a receiver: 0 done, 1 bad usage, 2 input refused\n"
           "(nothing was sent), 3 no reply from the receiver, 4 the receiver reported a\n"
           "failure, 5 the port cannot be opened, 130 interrupted. Ctrl-C (or SIGTERM) stops\n"
           "every session at its next wait: the SNR test and downloads are stopped, a\n"
           "download's part is kept, every port is closed; a second Ctrl-C ends at once.\n";
}

} // namespace kestrava
