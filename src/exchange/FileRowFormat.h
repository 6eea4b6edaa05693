#pragma once

#include "exchange/ExchangeView.h"
#include "protocol/FileListRow.h"

namespace kestrava {

// One row of the static file list as the list shows it: the name and size as decoded, the date
// in the system locale's short date format and the time in 24-hour form ("HH:mm:ss"). A date or
// time that the receiver's FAT fields cannot describe (month 0, 62 seconds) shows as empty.
class FileRowFormat {
public:
    static FileRowText toText(const FileListRow& row);
};

} // namespace kestrava
