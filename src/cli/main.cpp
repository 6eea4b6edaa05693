#include "cli/CliApp.h"
#include "cli/PortCommands.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == "ports") {
        QCoreApplication app(argc, argv);
        return kestrava::PortCommands::listPorts(std::cout);
    }
    if (!args.empty() && args.front() == "--port") {
        if (args.size() != 3 || args[2] != "info") {
            std::cerr << "kestrava-cli: usage: kestrava-cli --port DEVICE info\n";
            return 1;
        }
        QCoreApplication app(argc, argv);
        return kestrava::PortCommands::info(QString::fromStdString(args[1]), std::cout, std::cerr);
    }
    return kestrava::CliApp::run(args, std::cout, std::cerr);
}
