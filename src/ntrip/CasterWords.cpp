#include "ntrip/CasterWords.h"

#include <QtGlobal>

#include <cmath>

namespace kestrava {

QString CasterWords::english() const {
    return in([](const QString& text) { return text; });
}

QString CasterWords::messageList(const CasterOutcome& outcome) {
    QStringList numbers;
    for (const auto& entry : outcome.messages) {
        numbers.append(QString::number(entry.first));
    }
    return numbers.join(QStringLiteral(", "));
}

QString CasterWords::positionText(const GeodeticPosition& position) {
    return QStringLiteral("%1 %2, %3 %4, %5 m")
        .arg(std::fabs(position.latitude), 0, 'f', 5)
        .arg(position.latitude < 0 ? QLatin1Char('S') : QLatin1Char('N'))
        .arg(std::fabs(position.longitude), 0, 'f', 5)
        .arg(position.longitude < 0 ? QLatin1Char('W') : QLatin1Char('E'))
        .arg(position.height, 0, 'f', 1);
}

QString CasterWords::rateText(const CasterOutcome& outcome) {
    return QString::number(outcome.bytesPerSecond() / 1000.0, 'f', 1);
}

CasterWords CasterWords::describe(const CasterOutcome& outcome, const QString& mountPoint,
                                  const std::optional<GeodeticPosition>& receiver) {
    using Result = CasterOutcome::Result;
    const QString detail = QString::fromStdString(outcome.detail);
    switch (outcome.result) {
    case Result::Sourcetable:
        return {QString::fromLatin1(QT_TR_NOOP("The caster lists %1 mount points")),
                {QString::number(outcome.table.streams().size())}};
    case Result::Accepted:
        if (outcome.validFrames() == 0) {
            return {QString::fromLatin1(
                        QT_TR_NOOP("Login accepted, but no RTCM 3 data arrived in %1 s")),
                    {QString::number(outcome.seconds, 'f', 0)}};
        }
        if (outcome.station && receiver) {
            const double km =
                StationPosition::distance(outcome.station->geodetic(), *receiver) / 1000.0;
            return {QString::fromLatin1(
                        QT_TR_NOOP("Login accepted: RTCM 3 %1 at %2 kB/s, base %3 km from the "
                                   "receiver")),
                    {messageList(outcome), rateText(outcome), QString::number(km, 'f', 1)}};
        }
        if (outcome.station) {
            return {
                QString::fromLatin1(QT_TR_NOOP("Login accepted: RTCM 3 %1 at %2 kB/s, base at %3")),
                {messageList(outcome), rateText(outcome),
                 positionText(outcome.station->geodetic())}};
        }
        return {QString::fromLatin1(QT_TR_NOOP("Login accepted: RTCM 3 %1 at %2 kB/s")),
                {messageList(outcome), rateText(outcome)}};
    case Result::Refused:
        return {QString::fromLatin1(QT_TR_NOOP("The caster refused the user name or password")),
                {}};
    case Result::UnknownMount:
        return {QString::fromLatin1(QT_TR_NOOP("Mount point %1 is not on this caster")),
                {mountPoint}};
    case Result::Unreachable:
        return {QString::fromLatin1(QT_TR_NOOP("The caster cannot be reached: %1")), {detail}};
    case Result::TimedOut:
        return {QString::fromLatin1(QT_TR_NOOP("The caster did not answer in time")), {}};
    case Result::BadReply:
        return {QString::fromLatin1(QT_TR_NOOP("The caster's answer was not understood: %1")),
                {detail}};
    case Result::Cancelled:
        return {QString::fromLatin1(QT_TR_NOOP("The check was cancelled")), {}};
    }
    return {};
}

} // namespace kestrava
