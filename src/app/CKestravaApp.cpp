#include "app/CKestravaApp.h"

#include "app/AppOptions.h"
#include "app/BuiltInEmulator.h"
#include "app/CKestravaDlg.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>
#include <memory>

namespace kestrava {
namespace {

bool folderIsWritable(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kestrava-write-test-XXXXXX")));
    return probe.open();
}

// The settings live beside the program, as receivers' owners expect; an installed program whose
// folder is read-only keeps them in the user's configuration folder instead.
// The shared data of an installed program: <prefix>/share/kestrava beside <prefix>/bin.
QString installedDataFolder() {
    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath(QStringLiteral("../share/kestrava"));
    return QFileInfo(folder).isDir() ? QDir::cleanPath(folder) : QString();
}

#ifdef Q_OS_WIN
// On Windows the installed program (the one with its uninstaller beside it, under Program Files,
// which users cannot write) keeps each user's settings in %APPDATA%\Kestrava; the portable zip
// keeps them beside the program.
QString chooseSettingsFolder() {
    const QString beside = QCoreApplication::applicationDirPath();
    const bool installed =
        QFileInfo::exists(QDir(beside).filePath(QStringLiteral("Uninstall.exe")));
    const QString appData = qEnvironmentVariable("APPDATA");
    if ((installed || !folderIsWritable(beside)) && !appData.isEmpty()) {
        const QString folder = QDir(appData).filePath(QStringLiteral("Kestrava"));
        QDir().mkpath(folder);
        return QDir::toNativeSeparators(folder);
    }
    return beside;
}
#else
QString chooseSettingsFolder() {
    const QString beside = QCoreApplication::applicationDirPath();
    // An installed program keeps each user's settings apart, even when run by the superuser.
    if (installedDataFolder().isEmpty() && folderIsWritable(beside)) {
        return beside;
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}
#endif

QString chooseLanguageFolder() {
    if (QFileInfo(QStringLiteral("lang")).isDir()) {
        return QStringLiteral("lang");
    }
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("lang"));
    if (QFileInfo(beside).isDir()) {
        return beside;
    }
    const QString installed = installedDataFolder();
    if (!installed.isEmpty() && QFileInfo(installed + QStringLiteral("/lang")).isDir()) {
        return installed + QStringLiteral("/lang");
    }
    return QStringLiteral("lang");
}

} // namespace

int CKestravaApp::run(int argc, char** argv) {
    // The options are read before the application object exists, so that --help, --version and
    // a mistyped option answer on a machine without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    AppOptions options = AppOptions::parse(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "kestrava: %s\n%s", qPrintable(options.error),
                     qPrintable(AppOptions::usage()));
        return 1;
    }
    if (options.help) {
        std::fputs(qPrintable(AppOptions::usage()), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(qPrintable(AppOptions::versionLine()), stdout);
        return 0;
    }
    QString folderError;
    if (!options.makeSettingsFolder(folderError)) {
        std::fprintf(stderr, "kestrava: %s\n", qPrintable(folderError));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrava"));
    QApplication::setOrganizationName(QStringLiteral("Kestrava"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kestrava/resources/kestrava.png")));
    if (options.settingsFolder.isEmpty()) {
        options.settingsFolder = chooseSettingsFolder();
    }
    if (options.languageFolder.isEmpty()) {
        options.languageFolder = chooseLanguageFolder();
    }

    std::unique_ptr<BuiltInEmulator> emulator;
    if (options.emulator) {
        emulator = std::make_unique<BuiltInEmulator>();
        QString error;
        if (emulator->start(error, options.simulation)) {
            options.emulatorPort = emulator->devicePath();
            options.emulatorLink = emulator->exchangePort();
        } else {
            QMessageBox::warning(
                nullptr, QStringLiteral("Kestrava"),
                QStringLiteral("The receiver emulator could not be started: %1").arg(error));
            emulator.reset();
        }
    }

    int result = 0;
    {
        CKestravaDlg dialog(options);
        result = dialog.exec();
    }
    return result == QDialog::Accepted || result == QDialog::Rejected ? 0 : result;
}

} // namespace kestrava
