#include "exchange/DownloadTarget.h"

#include <filesystem>
#include <system_error>

namespace kestrava {

void DownloadTarget::reset(const QString& path, std::int64_t expectedBytes) {
    close();
    m_path = path;
    m_expected = expectedBytes;
    m_written = 0;
    m_complete = false;
    m_partCreated = false;
}

bool DownloadTarget::open() {
    close();
    m_written = 0;
    m_file.setFileName(partPath(m_path));
    // Unbuffered: each block goes to the file when it is written, so a failed write is seen at
    // once and not only when the file is closed.
    if (m_path.isEmpty() ||
        !m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return false;
    }
    m_partCreated = true;
    return true;
}

bool DownloadTarget::write(std::span<const Byte> bytes) {
    const qint64 length = static_cast<qint64>(bytes.size());
    if (m_file.write(reinterpret_cast<const char*>(bytes.data()), length) != length) {
        return false;
    }
    m_written += length;
    return true;
}

void DownloadTarget::close() {
    if (m_file.isOpen()) {
        m_file.close();
    }
}

DownloadTarget::Outcome DownloadTarget::finish(QString& systemReason) {
    const bool wasOpen = m_file.isOpen();
    close();
    if (!wasOpen) {
        return Outcome::NothingWritten;
    }
    // A copy of another size than the receiver listed is not the file, whatever the receiver
    // says: bytes were lost, or a block arrived twice.
    if (m_expected >= 0 && m_written != m_expected) {
        return Outcome::WrongSize;
    }
    std::error_code error;
    // rename replaces an existing target in one step, so the old file stays whole until the new
    // one takes its place.
    std::filesystem::rename(std::filesystem::path(partPath(m_path).toStdU16String()),
                            std::filesystem::path(m_path.toStdU16String()), error);
    if (error) {
        systemReason = QString::fromStdString(error.message());
        return Outcome::RenameFailed;
    }
    m_complete = true;
    return Outcome::Complete;
}

} // namespace kestrava
