#include "exchange/ProtocolTrace.h"

#include <QDateTime>

#include <cstdio>

namespace kestrava {

bool ProtocolTrace::open(const QString& path, QString& error) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        error = m_file.errorString();
        return false;
    }
    m_clock.start();
    const QByteArray note = "# Kestrava protocol trace started " +
                            QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() +
                            "; fields: ms, event, bytes in hex, comment\n";
    m_file.write(note);
    m_file.flush();
    return true;
}

double ProtocolTrace::elapsedMs() const {
    return static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
}

void ProtocolTrace::sent(const std::uint8_t* bytes, std::size_t count, const QString& comment) {
    line(elapsedMs(), "send", bytes, count, comment);
}

void ProtocolTrace::received(const std::uint8_t* bytes, std::size_t count, const QString& comment) {
    line(elapsedMs(), "recv", bytes, count, comment);
}

void ProtocolTrace::event(const char* name, const QString& comment) {
    line(elapsedMs(), name, nullptr, 0, comment);
}

void ProtocolTrace::line(double ms, const char* name, const std::uint8_t* bytes, std::size_t count,
                         const QString& comment) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_file.isOpen()) {
        return;
    }
    QByteArray text;
    text.reserve(static_cast<qsizetype>(32 + count * 3 + comment.size()));
    char number[32];
    std::snprintf(number, sizeof number, "%.3f", ms);
    text += number;
    text += '\t';
    text += name;
    text += '\t';
    static const char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    text += '\t';
    QString flat = comment;
    flat.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    text += flat.toUtf8();
    text += '\n';
    m_file.write(text);
    m_file.flush();
}

} // namespace kestrava
