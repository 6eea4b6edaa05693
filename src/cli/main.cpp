#include "cli/CasterVerb.h"
#include "cli/CliApp.h"
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
    if (!args.empty() && args.front() == "--port") {
        if (args.size() < 2) {
            std::cerr << "kestrava-cli: usage: kestrava-cli --port DEVICE VERB ... (try --help)\n";
            return 1;
        }
        QCoreApplication app(argc, argv);
        return kestrava::PortVerbs::run(args[1],
                                        std::vector<std::string>(args.begin() + 2, args.end()),
                                        std::cout, std::cerr, traceFile);
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
