#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

namespace kestrava {

// The protocol trace: one line per event, appended to a file and flushed as it is written, so
// that a crash still leaves every line before it. A line is
//
//   <ms since the trace started>\t<event>\t<bytes in hex>\t<comment>
//
// with the events "send" (the comment names the command and the reply it awaits), "recv" (the
// reply kinds decoded from the chunk, or that nothing was awaited), "open", "baud", "close" and
// "error" (no bytes). Lines starting with '#' are notes. Tabs and line breaks inside a comment
// become spaces, so a line is always one record. Passwords never reach the file: the bytes of a
// password field (PasswordFields) are written as the one word "***".
//
// A line that cannot be written (a full disk) makes the trace failed: the failure is handed once
// to the handler set with onFailure, and nothing more is written.
class ProtocolTrace {
public:
    ProtocolTrace() = default;
    ProtocolTrace(const ProtocolTrace&) = delete;
    ProtocolTrace& operator=(const ProtocolTrace&) = delete;

    // Opens path for appending and writes the note that starts a trace. False with error set
    // when the file cannot be opened; a file that opens but takes no line makes a failed trace.
    bool open(const QString& path, QString& error);
    bool isOpen() const { return m_file.isOpen(); }

    void sent(const std::uint8_t* bytes, std::size_t count, const QString& comment);
    void received(const std::uint8_t* bytes, std::size_t count, const QString& comment);
    // An event without bytes: "open", "baud", "close", "error".
    void event(const char* name, const QString& comment);

    // The milliseconds since the trace started, as a line shows them.
    double elapsedMs() const;

    // Called once, with the system's reason, when the first line cannot be written (at once
    // when that has already happened). It may run on any thread that writes to the trace (the
    // serial reader reports port errors here), and must not write to the trace itself.
    void onFailure(std::function<void(const QString& reason)> handler);
    bool failed() const;
    QString failure() const;

private:
    void line(double ms, const char* name, const std::uint8_t* bytes, std::size_t count,
              const QString& comment);

    bool writeLocked(const QByteArray& text);

    mutable std::mutex m_lock;
    QFile m_file;
    QElapsedTimer m_clock;
    bool m_failed = false;
    QString m_failure;
    std::function<void(const QString&)> m_onFailure;
};

} // namespace kestrava
