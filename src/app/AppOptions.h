#pragma once

#include <QString>
#include <QStringList>

namespace kestrava {

// What the command line chose for this run of the program.
struct AppOptions {
    bool emulator = false;  // --emulator: start the built-in receiver emulator
    QString emulatorPort;   // the emulator's device, listed first in the port list
    QString settingsFolder; // --settings DIR: where recvcfg.ini and langsetting.ini live
    QString languageFolder; // where the *.lang files are
    QString traceFile;      // --trace FILE: append the protocol trace to FILE
    bool help = false;
    bool version = false; // --version: print the version and end
    QString error;        // an option that was not understood

    static AppOptions parse(const QStringList& arguments);
    // Makes sure the --settings folder exists, creating it (and its parents) when missing; false
    // with `problem` saying why when it cannot be had. Nothing to do without --settings.
    bool makeSettingsFolder(QString& problem) const;
    static QString usage();
    // "kestrava <version>", one line.
    static QString versionLine();
};

} // namespace kestrava
