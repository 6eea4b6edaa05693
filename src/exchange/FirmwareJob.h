#pragma once

#include <QString>

#include <cstdint>

namespace kestrava {

// One firmware update as the user asked for it, after the checks at Start: the image file, the
// hardware code its name carries (88 or 98) and the target (0 Module, 1 Receiver).
struct FirmwareJob {
    QString path;
    std::int32_t hardwareCode = 0;
    int type = 0;
    std::int64_t imageSize = 0;
};

} // namespace kestrava
