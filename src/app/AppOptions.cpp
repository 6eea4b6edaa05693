#include "app/AppOptions.h"

#include <filesystem>
#include <system_error>

namespace kestrava {

AppOptions AppOptions::parse(const QStringList& arguments) {
    AppOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--emulator")) {
            options.emulator = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == QLatin1String("--settings") && i + 1 < arguments.size()) {
            options.settingsFolder = arguments[++i];
        } else if (argument == QLatin1String("--lang") && i + 1 < arguments.size()) {
            options.languageFolder = arguments[++i];
        } else if (argument == QLatin1String("--trace") && i + 1 < arguments.size()) {
            options.traceFile = arguments[++i];
        } else {
            options.error = QStringLiteral("unknown option \"%1\"").arg(argument);
            return options;
        }
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

QString AppOptions::usage() {
    return QStringLiteral(
        "Usage: kestrava [--emulator] [--settings DIR] [--lang DIR] [--trace FILE] [--version]\n"
        "                [--help]\n"
        "  --emulator      start the built-in receiver emulator and list it first among the\n"
        "                  ports as \"Kestrava receiver emulator\"\n"
        "  --settings DIR  keep recvcfg.ini and langsetting.ini in DIR, created when missing\n"
        "                  (default: beside the program, or the user's configuration folder\n"
        "                  when that is read-only)\n"
        "  --lang DIR      the folder of the *.lang language files (default: \"lang\" in the\n"
        "                  current folder, else beside the program)\n"
        "  --trace FILE    append every byte sent and received, with what the program made of\n"
        "                  it, to FILE (see kestrava-cli replay)\n"
        "  --version       print the version and end\n"
        "  --help          print this help and end\n");
}

QString AppOptions::versionLine() {
    return QStringLiteral("kestrava " KESTRAVA_VERSION "\n");
}

} // namespace kestrava
