#include "cli/CasterVerb.h"
#include "cli/CliApp.h"
#include "cli/FleetRun.h"
#include "cli/PortCommands.h"
#include "cli/PortVerbs.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == "--version") {
        std::cout << "kestrava-cli " KESTRAVA_VERSION "\n";
        return 0;
    }
    // --trace FILE may stand anywhere before the verb's own arguments.
    std::string traceFile;
    for (std::size_t i = 0; i < args.size() && i < 4; ++i) {
        if (args[i] == "--trace") {
            if (i + 1 >= args.size()) {
                std::cerr << "kestrava-cli: --trace needs a file name\n";
                return 1;
            }
            traceFile = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
    }
    if (!args.empty() &&
        (args.front() == "--help" || args.front() == "-h" || args.front() == "help")) {
        kestrava::CliApp::printHelp(std::cout);
        std::cout << '\n';
        kestrava::CasterVerb::printHelp(std::cout);
        std::cout << '\n';
        kestrava::PortVerbs::printHelp(std::cout);
        return 0;
    }
    if (args.size() > 1 && args.front() == "ports" && (args[1] == "--help" || args[1] == "-h")) {
        std::cout << "Usage: kestrava-cli ports\n"
                     "  List the serial ports the system reports, one a line, with what their\n"
                     "  driver tells of them (description, maker, USB vendor:product).\n";
        return 0;
    }
    if (!args.empty() && args.front() == "ports") {
        QCoreApplication app(argc, argv);
        return kestrava::PortCommands::listPorts(std::cout);
    }
    if (!args.empty() && (args.front() == "--port" || args.front() == "--ports-from")) {
        // --port DEVICE (any number of times), --ports-from FILE and --report FILE, then the verb.
        kestrava::FleetRun::Options fleet;
        std::size_t at = 0;
        while (at + 1 < args.size()) {
            if (args[at] == "--port") {
                fleet.ports.push_back(args[at + 1]);
            } else if (args[at] == "--ports-from") {
                std::string error;
                if (!kestrava::FleetRun::readPorts(args[at + 1], fleet.ports, error)) {
                    std::cerr << "kestrava-cli: " << error << '\n';
                    return 1;
                }
            } else if (args[at] == "--report") {
                fleet.reportPath = args[at + 1];
            } else {
                break;
            }
            at += 2;
        }
        if (fleet.ports.empty() || at >= args.size() || args[at].rfind("--", 0) == 0) {
            std::cerr << "kestrava-cli: usage: kestrava-cli --port DEVICE VERB ... (try --help)\n";
            return 1;
        }
        fleet.verbAndArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(at), args.end());
        QCoreApplication app(argc, argv);
        if (fleet.ports.size() == 1 && fleet.reportPath.empty()) {
            return kestrava::PortVerbs::run(fleet.ports.front(), fleet.verbAndArgs, std::cout,
                                            std::cerr, traceFile);
        }
        if (!kestrava::FleetRun::allows(fleet.verbAndArgs)) {
            std::cerr << "kestrava-cli: " << fleet.verbAndArgs.front()
                      << " runs on one port at a time (several ports take info, get, diff, "
                         "apply, firmware and files list)\n";
            return 1;
        }
        if (!traceFile.empty()) {
            std::cerr << "kestrava-cli: --trace records one port: give one --port\n";
            return 1;
        }
        auto& verb = fleet.verbAndArgs;
        for (std::size_t i = 1; i + 1 < verb.size(); ++i) {
            if (verb.front() == "get" && verb[i] == "--output") {
                fleet.outputDir = verb[i + 1];
                verb.erase(verb.begin() + static_cast<std::ptrdiff_t>(i),
                           verb.begin() + static_cast<std::ptrdiff_t>(i) + 2);
                break;
            }
        }
        return kestrava::FleetRun::run(fleet, std::cout, std::cerr);
    }
    if (!args.empty() && args.front() == "caster") {
        if (kestrava::PortVerbs::asksForHelp(args)) {
            kestrava::CasterVerb::printHelp(std::cout);
            return 0;
        }
        QCoreApplication app(argc, argv);
        return kestrava::CasterVerb::run(std::vector<std::string>(args.begin() + 1, args.end()),
                                         std::cout, std::cerr);
    }
    if (!args.empty()) {
        // A verb on a receiver named without its port: its help, or what it needs.
        for (const kestrava::PortVerb& verb : kestrava::PortVerbs::all()) {
            if (verb.name != args.front()) {
                continue;
            }
            if (kestrava::PortVerbs::asksForHelp(args)) {
                kestrava::PortVerbs::printVerbHelp(verb.name, std::cout);
                return 0;
            }
            std::cerr << "kestrava-cli: " << verb.name
                      << " talks to a receiver: name its port first, as in\n"
                         "  kestrava-cli --port DEVICE "
                      << verb.name << (verb.usage.empty() ? "" : " ") << verb.usage
                      << "\n(kestrava-cli ports lists the serial ports)\n";
            return 1;
        }
    }
    return kestrava::CliApp::run(args, std::cout, std::cerr);
}
