#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstdint>

namespace kestrava {

// One entry of the receiver's static file list. The date and time are left as numbers (and as
// the raw FAT words) so that the front end can format them for the user's locale.
struct FileListRow {
    ByteString name;      // baseName, '.', extension (baseName alone without an extension)
    ByteString baseName;  // the 8 name bytes up to the first zero: what commands name the file by
    ByteString extension; // the 3 extension bytes up to the first zero
    ByteString sizeText;  // "%dK" of size / 1024 above 1023 bytes, "0K" when empty, else "1K"
    std::uint32_t sizeBytes = 0;
    std::uint16_t fatTime = 0; // bits 15..11 hour, 10..5 minute, 4..0 seconds / 2
    std::uint16_t fatDate = 0; // bits 15..9 years from 1980, 8..5 month, 4..0 day
    int hour = 0;
    int minute = 0;
    int second = 0; // twice the stored value
    int year = 1980;
    int month = 0;
    int day = 0;

    bool operator==(const FileListRow&) const = default;
};

} // namespace kestrava
