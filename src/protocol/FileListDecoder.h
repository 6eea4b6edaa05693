#pragma once

#include "protocol/FieldReader.h"
#include "protocol/FileListRow.h"

#include <cstddef>
#include <vector>

namespace kestrava {

// The rows of one page of the receiver's static file list ('F','M' reply payload): 32-byte
// directory entries, name at 0 (8 bytes), extension at 8 (3), FAT time at 14, FAT date at 16
// (both little-endian) and size at 28 (little-endian).
class FileListDecoder {
public:
    static constexpr std::size_t kEntrySize = 32;

    // One row per complete entry; a trailing partial entry is not decoded.
    static std::vector<FileListRow> decode(const FieldReader& payload);

    // One complete 32-byte entry.
    static FileListRow decodeEntry(const FieldReader& entry);

    // "%dK" of size / 1024 for sizes above 1023 bytes, "0K" for an empty file, else "1K".
    static ByteString sizeText(std::uint32_t sizeBytes);
};

} // namespace kestrava
