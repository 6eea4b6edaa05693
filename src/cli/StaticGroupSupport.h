#pragma once

#include "cli/SettingGroup.h"

#include <QString>

namespace kestrava {

// What the Static page's setting groups share: values as typed texts, and the outcomes they report.
class StaticGroupSupport {
public:
    // The value of name as the form sees a typed text; empty when it is missing.
    static QString text(const SettingValues& values, const char* name);
    // The input was refused with the page's words; nothing was sent.
    static CliOutcome refused(const QString& english);
    // The receiver did not answer in time.
    static CliOutcome noReply();
    // The receiver answered that it failed, with the window's words.
    static CliOutcome failed(const QString& english);
};

} // namespace kestrava
