#include "protocol/FileListDecoder.h"

#include <cstdio>

namespace kestrava {

ByteString FileListDecoder::sizeText(std::uint32_t sizeBytes) {
    // An empty file is 0K; any other file below 1024 bytes counts as a whole kilobyte.
    const std::uint32_t kilobytes = sizeBytes > 1023 ? sizeBytes / 1024 : (sizeBytes > 0 ? 1 : 0);
    char text[16] = {};
    std::snprintf(text, sizeof text, "%uK", static_cast<unsigned>(kilobytes));
    return text;
}

FileListRow FileListDecoder::decodeEntry(const FieldReader& entry) {
    FileListRow row;
    // Each field ends at its own first zero byte, so that a name shorter than eight characters
    // keeps its extension.
    const auto field = [&entry](std::size_t from, std::size_t length) {
        ByteString text;
        for (std::size_t i = from; i < from + length && entry.byte(i) != 0; ++i) {
            text.push_back(static_cast<char>(entry.byte(i)));
        }
        return text;
    };
    row.baseName = field(0, 8);
    row.extension = field(8, 3);
    row.name = row.extension.empty() ? row.baseName : row.baseName + '.' + row.extension;

    row.fatTime = static_cast<std::uint16_t>(entry.littleEndian16(14));
    row.fatDate = static_cast<std::uint16_t>(entry.littleEndian16(16));
    row.hour = (row.fatTime >> 11) & 0x1F;
    row.minute = (row.fatTime >> 5) & 0x3F;
    row.second = (row.fatTime & 0x1F) * 2;
    row.year = 1980 + ((row.fatDate >> 9) & 0x7F);
    row.month = (row.fatDate >> 5) & 0x0F;
    row.day = row.fatDate & 0x1F;

    row.sizeBytes = entry.littleEndian32(28);
    row.sizeText = sizeText(row.sizeBytes);
    return row;
}

std::vector<FileListRow> FileListDecoder::decode(const FieldReader& payload) {
    std::vector<FileListRow> rows;
    const std::size_t entries = payload.size() / kEntrySize;
    rows.reserve(entries);
    for (std::size_t k = 0; k < entries; ++k) {
        rows.push_back(decodeEntry(payload.from(k * kEntrySize)));
    }
    return rows;
}

} // namespace kestrava
