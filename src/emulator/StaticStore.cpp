#include "emulator/StaticStore.h"

#include <algorithm>

namespace kestrava {

StaticStore::StaticStore(std::vector<StaticFile> files, std::uint32_t blockSize)
    : m_files(std::move(files)), m_blockSize(std::clamp<std::uint32_t>(blockSize, 2, kMaxBlock)) {}

Bytes StaticStore::listPage(std::size_t first, std::size_t count) const {
    Bytes payload;
    const std::size_t end = std::min(m_files.size(), first + std::min(count, kPageSize));
    for (std::size_t i = first; i < end; ++i) {
        const auto entry = m_files[i].listEntry();
        payload.insert(payload.end(), entry.begin(), entry.end());
    }
    return payload;
}

Byte StaticStore::deleteNamed(const Bytes& names) {
    Byte status = 0;
    for (std::size_t at = 0; at + 8 <= names.size(); at += 8) {
        const auto found = std::find_if(m_files.begin(), m_files.end(), [&](const StaticFile& f) {
            return f.isNamedBy(names.data() + at);
        });
        if (found == m_files.end()) {
            status = 1;
        } else {
            m_files.erase(found);
        }
    }
    if (names.empty() || names.size() % 8 != 0) {
        status = 1;
    }
    return status;
}

Byte StaticStore::startDownload(const Byte* name8) {
    m_download.reset();
    const auto found = std::find_if(m_files.begin(), m_files.end(),
                                    [&](const StaticFile& f) { return f.isNamedBy(name8); });
    if (found == m_files.end()) {
        return kStatusNotFound;
    }
    // A one-byte file cannot travel: its only block would read as a status. Refuse it openly
    // rather than send something the host would take for a result code.
    if (found->size() == 1) {
        return kStatusUnsendable;
    }
    m_download = Download{static_cast<std::size_t>(found - m_files.begin()), 0, 0};
    return kStatusReady;
}

std::uint32_t StaticStore::nextBlockLength(std::uint32_t remaining, std::uint32_t blockSize) {
    std::uint32_t length = std::min(remaining, blockSize);
    if (remaining - length == 1) {
        // Leave two bytes rather than one; with the smallest block size take three instead.
        length = length > 2 ? length - 1 : length + 1;
    }
    return length;
}

std::optional<Bytes> StaticStore::nextBlock() {
    if (!m_download) {
        return std::nullopt;
    }
    const StaticFile& file = m_files[m_download->file];
    const std::uint32_t remaining = file.size() - m_download->offset;
    if (remaining == 0) {
        m_download.reset();
        return Bytes{kStatusDone};
    }
    const std::uint32_t length = nextBlockLength(remaining, m_blockSize);
    Bytes payload;
    file.appendContents(payload, m_download->offset, length);
    m_download->offset += length;
    ++m_download->blocks;
    return payload;
}

} // namespace kestrava
