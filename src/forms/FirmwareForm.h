#pragma once

#include "exchange/FirmwareJob.h"
#include "forms/FormResult.h"

#include <QString>

#include <cstdint>

namespace kestrava {

// The checks at "Start Update" that need no port: the image file, its extension, its name
// against the chosen type and its hardware code. The window and the command line both start an
// update only through check(), so both refuse a file with the same words.
class FirmwareForm {
public:
    static constexpr int kModule = 0;
    static constexpr int kReceiver = 1;

    // pathText as typed (white space around it is ignored); type 0 Module, 1 Receiver. The
    // refusals, in the order they are tried: no such file, not a .kvb file, a Module name that
    // does not begin with "gm", a Receiver name that holds "gm", an empty file, a hardware code
    // other than 88 or 98.
    static FormResult<FirmwareJob> check(const QString& pathText, int type);

    // The number formed by the three characters before the last dot of path (98 for x.098.kvb),
    // read as a leading decimal number; 0 when they do not begin with a digit.
    static std::int32_t hardwareCodeOf(const QString& path);

    // The file-name part of path, whichever separator ('/' or '\') the path uses.
    static QString fileNameOf(const QString& path);
};

} // namespace kestrava
