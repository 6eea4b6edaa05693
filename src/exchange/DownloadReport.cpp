#include "exchange/DownloadReport.h"

#include "exchange/DownloadTarget.h"

#include <QDir>

#include <utility>

namespace kestrava {

DownloadReport::DownloadReport(const DownloadTarget& target, Translate translate)
    : m_target(target), m_translate(std::move(translate)) {}

QString DownloadReport::wrongSize() const {
    return m_translate(QStringLiteral("Fail to download static file")) + QLatin1Char('\n') +
           m_translate(QStringLiteral("%1 bytes arrived; the receiver listed %2."))
               .arg(m_target.written())
               .arg(m_target.expected()) +
           QLatin1Char('\n') + partKept();
}

QString DownloadReport::renameFailed(const QString& systemReason) const {
    // The file name and the system's reason follow the translated text on lines of their own.
    const QString detail =
        QDir::toNativeSeparators(m_target.path()) + QLatin1Char('\n') + systemReason;
    return m_translate(QStringLiteral("Cannot replace the file")) + QLatin1String(":\n") + detail;
}

QString DownloadReport::abandoned(const QString& reasonEnglish, const QString& detail) const {
    QString text = m_translate(reasonEnglish) + QStringLiteral(":\n") +
                   QDir::toNativeSeparators(DownloadTarget::partPath(m_target.path()));
    if (!detail.isEmpty()) {
        text += QStringLiteral("\n") + detail;
    }
    return text;
}

QString DownloadReport::withPartKept(const QString& text) const {
    const QString kept = partKept();
    return kept.isEmpty() ? text : text + QLatin1Char('\n') + kept;
}

QString DownloadReport::partKept() const {
    if (!m_target.partCreated()) {
        return {};
    }
    return m_translate(QStringLiteral("The part received is kept in %1."))
        .arg(QDir::toNativeSeparators(DownloadTarget::partPath(m_target.path())));
}

} // namespace kestrava
