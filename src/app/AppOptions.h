#pragma once

#include "emulator/SimOptions.h"

#include <QString>
#include <QStringList>

namespace kestrava {

class ExchangePort;

// What the command line chose for this run of the program.
struct AppOptions {
    bool emulator = false;  // --emulator: start the built-in receiver emulator
    SimOptions simulation;  // the emulator's own options, as kestrava-sim takes them
    QString emulatorPort;   // the emulator's device, listed first in the port list
    // The port that opens emulatorPort where the emulator runs in-process (Windows); else null.
    ExchangePort* emulatorLink = nullptr;
    QString settingsFolder; // --settings DIR: where recvcfg.ini and langsetting.ini live
    QString languageFolder; // where the *.lang files are
    QString traceFile;      // --trace FILE: append the protocol trace to FILE
    bool help = false;
    bool version = false; // --version: print the version and end
    QString error;        // an option that was not understood

    // The program's own options, then after --emulator the options of kestrava-sim for the
    // built-in emulator (its profile, files, timing and faults; --version N there is the
    // receiver's version). The program's --settings, --lang and --trace are its own anywhere.
    static AppOptions parse(const QStringList& arguments);
    // Makes sure the --settings folder exists, creating it (and its parents) when missing; false
    // with `problem` saying why when it cannot be had. Nothing to do without --settings.
    bool makeSettingsFolder(QString& problem) const;
    static QString usage();
    // "kestrava <version>", one line.
    static QString versionLine();
};

} // namespace kestrava
