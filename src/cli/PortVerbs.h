#pragma once

#include "settings/ProfileLine.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;
class SettingsVerbs;

// What a run of a verb on one receiver came to, for a commissioning summary.
struct PortReport {
    std::string serialNumber;
    std::string version;
    std::string motherboard;
    // apply: keys set, already matching, and not taken.
    int keysSet = 0;
    int keysUnchanged = 0;
    int keysFailed = 0;
    bool opened = false;
    // apply: one line per key of the profile, as printed.
    std::vector<ProfileLine> lines;
};

// What a verb on a receiver is given.
struct PortVerbContext {
    ReceiverSession& session;
    SettingsVerbs& settings;
    const std::vector<std::string>& args; // the words after the verb
    std::ostream& out;
    std::ostream& err;
    PortReport* report = nullptr; // filled where the verb has something to say
};

// One verb of "kestrava-cli --port DEVICE VERB ...".
struct PortVerb {
    std::string name;
    std::string usage; // the arguments, for --help
    std::string help;  // one or more lines, for --help
    // Whether the window's Open sequence (main information, motherboard) runs before the verb:
    // the pages adapt to the receiver type it reports, and so do the verbs.
    bool readsMainInfo = true;
    // Checks the arguments before the port is opened; empty when they are fine.
    std::function<std::string(const std::vector<std::string>& args, SettingsVerbs& settings)> check;
    std::function<int(PortVerbContext& context)> run;
    // The status of every failure before the verb runs (usage, port, no reply), when the verb
    // has one status for all errors (diff: 2); 0 keeps the usual statuses.
    int errorStatus = 0;
};

// The verbs that talk to a receiver, and their dispatch.
class PortVerbs {
public:
    static const std::vector<PortVerb>& all();

    // kestrava-cli --port DEVICE VERB ARGS...: opens the port, runs the verb, closes the port.
    // Needs a Qt core application object.
    // With a trace file, the session's protocol trace is appended to it.
    static int run(const std::string& device, const std::vector<std::string>& verbAndArgs,
                   std::ostream& out, std::ostream& err, const std::string& traceFile = {},
                   PortReport* report = nullptr);

    static void printHelp(std::ostream& out);
    // The help of one verb (its usage and lines; for get, set and apply the settings too);
    // false when no verb has that name.
    static bool printVerbHelp(const std::string& name, std::ostream& out);
    // Whether the arguments ask for help instead of the verb.
    static bool asksForHelp(const std::vector<std::string>& args);
};

} // namespace kestrava
