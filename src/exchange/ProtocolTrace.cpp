#include "exchange/ProtocolTrace.h"

#include "protocol/PasswordFields.h"

#include <QDateTime>

#include <cstdio>
#include <vector>

namespace kestrava {

bool ProtocolTrace::open(const QString& path, QString& error) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        error = m_file.errorString();
        return false;
    }
    m_clock.start();
    m_failed = false;
    m_failure.clear();
    const QByteArray note = "# Kestrava protocol trace started " +
                            QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8() +
                            "; fields: ms, event, bytes in hex, comment\n";
    writeLocked(note); // a file that takes nothing is a failed trace, reported as such
    return true;
}

void ProtocolTrace::onFailure(std::function<void(const QString& reason)> handler) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_onFailure = std::move(handler);
    if (m_failed && m_onFailure) {
        m_onFailure(m_failure);
    }
}

bool ProtocolTrace::failed() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_failed;
}

QString ProtocolTrace::failure() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_failure;
}

bool ProtocolTrace::writeLocked(const QByteArray& text) {
    if (m_failed) {
        return false;
    }
    if (m_file.write(text) == text.size() && m_file.flush()) {
        return true;
    }
    m_failed = true;
    m_failure = m_file.errorString();
    if (m_onFailure) {
        m_onFailure(m_failure);
    }
    return false;
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
    const std::vector<PasswordFields::Range> secrets = PasswordFields::find(bytes, count);
    auto secret = secrets.begin();
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += ' ';
        }
        if (secret != secrets.end() && i == secret->from) {
            text += "***";
            i = secret->to - 1;
            ++secret;
            continue;
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
    writeLocked(text);
}

} // namespace kestrava
