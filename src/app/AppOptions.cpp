#include "app/AppOptions.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace kestrava {

namespace {

// kestrava-sim's option sections, without its own usage line.
std::string emulatorOptionsHelp() {
    const std::string text = SimOptions::usage();
    const std::size_t at = text.find("Receiver profile:");
    return at == std::string::npos ? text : text.substr(at);
}

} // namespace

AppOptions AppOptions::parse(const QStringList& arguments) {
    AppOptions options;
    std::vector<std::string> simulation;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--settings") && i + 1 < arguments.size()) {
            options.settingsFolder = arguments[++i];
        } else if (argument == QLatin1String("--lang") && i + 1 < arguments.size()) {
            options.languageFolder = arguments[++i];
        } else if (argument == QLatin1String("--trace") && i + 1 < arguments.size()) {
            options.traceFile = arguments[++i];
        } else if (argument == QLatin1String("--emulator")) {
            options.emulator = true;
        } else if (options.emulator) {
            simulation.push_back(argument.toStdString());
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else {
            options.error = QStringLiteral("unknown option \"%1\"").arg(argument);
            return options;
        }
    }
    std::string error;
    const std::optional<SimOptions> parsed = SimOptions::parse(simulation, error);
    if (!parsed) {
        options.error = QStringLiteral("emulator: %1").arg(QString::fromStdString(error));
        return options;
    }
    options.simulation = *parsed;
    if (options.simulation.help) {
        options.help = true;
    }
    if (!options.simulation.linkPath.empty()) {
        // The built-in emulator ends with the window: no cable to pull behind a link.
        options.error = QStringLiteral("emulator: --link is for kestrava-sim, which the window "
                                       "lists among its ports");
    }
    return options;
}

bool AppOptions::makeSettingsFolder(QString& problem) const {
    if (settingsFolder.isEmpty()) {
        return true;
    }
    const std::filesystem::path folder(settingsFolder.toStdU16String());
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (!code && !std::filesystem::is_directory(folder, code)) {
        code = std::make_error_code(std::errc::not_a_directory);
    }
    if (code) {
        problem = QStringLiteral("the settings folder \"%1\" cannot be created: %2")
                      .arg(settingsFolder, QString::fromStdString(code.message()));
        return false;
    }
    return true;
}

// Where the settings live when --settings is not given.
#ifdef Q_OS_WIN
#define KESTRAVA_SETTINGS_DEFAULT                                                                  \
    "                  (default: %APPDATA%\\Kestrava for the installed program, beside\n"          \
    "                  the program when it runs from the portable zip)\n"
#else
#define KESTRAVA_SETTINGS_DEFAULT                                                                  \
    "                  (default: beside the program, or the user's configuration\n"                \
    "                  folder when that is read-only)\n"
#endif

QString AppOptions::usage() {
    return QStringLiteral(
               "Usage: kestrava [--settings DIR] [--lang DIR] [--trace FILE] [--version] [--help]\n"
               "                [--emulator [EMULATOR OPTIONS]]\n"
               "  --emulator      start the built-in receiver emulator and list it first among "
               "the\n"
               "                  ports as \"Kestrava receiver emulator\"; the options after it "
               "are\n"
               "                  those of kestrava-sim (below), for example --profile static, or\n"
               "                  --type P for a receiver with firmware update and file download\n"
               "  --settings DIR  keep recvcfg.ini and langsetting.ini in DIR, created when "
               "missing\n" KESTRAVA_SETTINGS_DEFAULT
               "  --lang DIR      the folder of the *.lang language files (default: \"lang\" in "
               "the\n"
               "                  current folder, else beside the program)\n"
               "  --trace FILE    append every byte sent and received, with what the program made "
               "of\n"
               "                  it, to FILE (see kestrava-cli replay)\n"
               "  --version       print the version and end\n"
               "  --help          print this help and end\n"
               "The port list follows the serial ports as they come and go, and running "
               "kestrava-sim\n"
               "emulators; a device path may also be typed into it.\n\n"
               "Emulator options (after --emulator; --link is kestrava-sim's only):\n") +
           QString::fromStdString(emulatorOptionsHelp());
}

QString AppOptions::versionLine() {
    return QStringLiteral("kestrava " KESTRAVA_VERSION "\n");
}

} // namespace kestrava
