#pragma once

#include "exchange/ExchangeView.h"
#include "protocol/FileListRow.h"

namespace kestrava {

// One row of the static file list as every front end shows it: the name and size as decoded
// (the size computed from the byte count when the row carries no text), the date in the system
// locale's short date format and the time in 24-hour form ("HH:mm:ss"), and the same moment in
// ISO 8601 for scripts. A date or time that the receiver's FAT fields cannot describe (month 0,
// 62 seconds) shows as empty.
class FileRowFormat {
public:
    static FileRowText toText(const FileListRow& row);
};

} // namespace kestrava
