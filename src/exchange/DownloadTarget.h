#pragma once

#include "protocol/ProtocolTypes.h"

#include <QFile>
#include <QString>

#include <cstdint>
#include <span>

namespace kestrava {

// Where a static file's copy goes while it is downloaded. The copy grows in PATH.part beside
// the target, so a download that fails or is stopped never costs the user the file already at
// PATH; only a complete copy replaces it, in one rename.
class DownloadTarget {
public:
    enum class Outcome {
        NothingWritten, // no copy was open (it could not be created, or the download stopped)
        WrongSize,      // more or fewer bytes than the receiver listed: not the file
        RenameFailed,   // the copy is whole but could not replace the target
        Complete,       // the copy is in its place
    };

    // Where the copy is written until it is complete.
    static QString partPath(const QString& localPath) {
        return localPath + QStringLiteral(".part");
    }

    ~DownloadTarget() { close(); }

    // A new download to path: a copy still open is closed (and kept). expectedBytes is the size
    // the receiver listed, or -1 when unknown.
    void reset(const QString& path, std::int64_t expectedBytes);
    // Creates the copy; false when it cannot be created (errorString() says why).
    bool open();
    // Appends a block; false when it cannot be written.
    bool write(std::span<const Byte> bytes);
    // Closes the copy; what was written stays on disk.
    void close();
    // Closes the copy and, when it holds exactly the listed size, puts it in place of the target.
    // systemReason gets the system's words when the rename fails.
    Outcome finish(QString& systemReason);

    bool isOpen() const { return m_file.isOpen(); }
    // Whether this download created its copy (PATH.part exists since, unless removed by others).
    bool partCreated() const { return m_partCreated; }
    std::int64_t expected() const { return m_expected; }
    const QString& path() const { return m_path; }
    std::int64_t written() const { return m_written; }
    bool complete() const { return m_complete; }
    QString errorString() const { return m_file.errorString(); }

private:
    QString m_path;
    QFile m_file;
    std::int64_t m_expected = -1;
    std::int64_t m_written = 0;
    bool m_complete = false;
    bool m_partCreated = false;
};

} // namespace kestrava
