#pragma once

#include "forms/FormResult.h"

#include <QString>

namespace kestrava {

// The Static page's typed values: recording interval and cut-off, file naming, and the switches
// the command line sets by number (store location, RINEX, static voice). The page and the command
// line both ask it, so both refuse the same input with the same words.
class StaticForm {
public:
    struct Collect {
        int intervalSeconds = 0;
        int cutoffDegrees = 0;
    };
    struct Naming {
        QString prefix; // as typed: empty, or one letter, digit or underscore
        QString serial; // as typed: up to three digits (the command pads it)
    };

    // Interval 1..255 first, then cut-off 0..90: only the first refusal is reported.
    static FormResult<Collect> collect(const QString& interval, const QString& cutoff);
    // Prefix first, then the serial number (at most three characters, 0..999).
    static FormResult<Naming> naming(const QString& prefix, const QString& serial);
    // "1" or "0" for a switch the window shows as a check box or a pair of radio buttons; name
    // is the setting as the command line spells it, for the refusal.
    static FormResult<bool> onOff(const QString& text, const QString& name);
};

} // namespace kestrava
