#pragma once

#include "emulator/StaticFile.h"
#include "protocol/ProtocolTypes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrava {

// The receiver's raw data storage: its files, paged listing, deletion, formatting and the
// one download that can run at a time. Answers are reply payloads; framing is the caller's.
class StaticStore {
public:
    static constexpr std::size_t kPageSize = 8;
    static constexpr std::uint32_t kMaxBlock = 4095;
    static constexpr Byte kStatusReady = 0;
    static constexpr Byte kStatusNotFound = 1;
    static constexpr Byte kStatusUnsendable = 2;
    static constexpr Byte kStatusDone = 3;

    StaticStore(std::vector<StaticFile> files, std::uint32_t blockSize);

    // Up to count 32-byte entries from index first (count is cut to a page).
    Bytes listPage(std::size_t first, std::size_t count) const;
    // Deletes every named file (8 bytes per name); 0 when each name was found, else 1 (the found
    // ones are deleted all the same).
    Byte deleteNamed(const Bytes& names);
    void format() { m_files.clear(); }

    // Starts a download: the status payload (ready, or a failure when the file is unknown or
    // cannot be sent). A download already running is abandoned.
    Byte startDownload(const Byte* name8);
    // The next reply payload of the running download: a data block of 2 to 4095 bytes, then the
    // one-byte done status. Nothing when no download runs.
    std::optional<Bytes> nextBlock();
    void stopDownload() { m_download.reset(); }

    bool downloading() const { return m_download.has_value(); }
    // Data blocks sent so far in the running download.
    std::uint32_t blocksSent() const { return m_download ? m_download->blocks : 0; }
    const std::vector<StaticFile>& files() const { return m_files; }

    // Length of the next data block when remaining bytes are left: at most blockSize, and never
    // such that exactly one byte would be left over (a one-byte payload is a status).
    static std::uint32_t nextBlockLength(std::uint32_t remaining, std::uint32_t blockSize);

private:
    struct Download {
        std::size_t file = 0;
        std::uint32_t offset = 0;
        std::uint32_t blocks = 0;
    };

    std::vector<StaticFile> m_files;
    std::uint32_t m_blockSize;
    std::optional<Download> m_download;
};

} // namespace kestrava
