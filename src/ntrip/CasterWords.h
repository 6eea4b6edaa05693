#pragma once

#include "ntrip/CasterOutcome.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kestrava {

// A caster outcome in words: an English key the window translates and the values filled in
// after it (the command line prints the English with its values).
struct CasterWords {
    QString key;
    QStringList arguments;

    QString english() const;
    template <class Translate>
    QString in(Translate translate) const {
        QString text = translate(key);
        for (const QString& argument : arguments) {
            text = text.arg(argument);
        }
        return text;
    }

    // The outcome of a login check or a list; mountPoint is the one asked for, receiver the
    // rover's own position when it is known (for the distance to the base).
    static CasterWords describe(const CasterOutcome& outcome, const QString& mountPoint,
                                const std::optional<GeodeticPosition>& receiver = std::nullopt);

    // The message numbers seen, in order: "1005, 1074, 1084".
    static QString messageList(const CasterOutcome& outcome);
    // "30.25190 N, 120.12595 E, 35.2 m"
    static QString positionText(const GeodeticPosition& position);
    // "1.9" (kB/s, one decimal)
    static QString rateText(const CasterOutcome& outcome);
};

} // namespace kestrava
