#pragma once

#include "settings/ProfileLine.h"

#include <QString>

#include <functional>
#include <vector>

namespace kestrava {

// What brings a profile onto the receiver for the Apply Profile dialog: the command line's own
// engine, run by the window on its receiver. The dialog shows; the runner talks to the receiver.
class ProfileRunner {
public:
    struct Outcome {
        int status = 0;                 // as kestrava-cli apply exits: 0 done, 2 refused, ...
        QStringList messages;           // what the engine said besides the lines, one a line
        std::vector<ProfileLine> lines; // one per key of the profile
    };
    using Done = std::function<void(const Outcome&)>;

    virtual ~ProfileRunner() = default;
    // Reads the receiver and checks every value of the profile, sending nothing ("apply
    // --dry-run"). done runs on the window's thread.
    virtual void plan(const QString& profilePath, Done done) = 0;
    // Sends what differs and reads it back ("apply").
    virtual void apply(const QString& profilePath, Done done) = 0;
};

} // namespace kestrava
