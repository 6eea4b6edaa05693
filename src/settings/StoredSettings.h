#pragma once

#include "protocol/ChannelTable.h"
#include "protocol/NetParams.h"
#include "protocol/NmeaOutputChoice.h"
#include "protocol/ProtocolTypes.h"

#include <cstdint>

namespace kestrava {

// Everything the user last entered or last read from a receiver, kept between runs in
// recvcfg.ini (see SettingsFile). The main window owns one; the pages and the reply handler
// read and change its fields directly. Texts are bytes of the system code page.
struct StoredSettings {
    NetParams net;          // section "NetParams"
    ByteString apnUserName; // "ANPParams"
    ByteString apnPassword;
    ChannelTable channels{};          // "HZParams", MHz
    std::int32_t collectInterval = 0; // "CollectParams", seconds
    std::int32_t cutOff = 0;          // degrees
    ByteString filePrefix;            // "FileParams", one letter
    ByteString fileSn;                // three digits
    Byte staticLocation = 0;          // "OtherParams": 1 SD card, 0 internal FLASH
    Byte firmwareType = 0;            // index in the firmware type list
    Byte rinex = 0;                   // 1 = record RINEX as well
    Byte voice = 0;                   // voice prompt type
    Byte volume = 0;
    ByteString firmwarePath;
    NmeaOutputChoice nmea;

    // The values a first run starts from and writes (not the fallbacks of missing keys).
    static StoredSettings firstRunDefaults();

    bool operator==(const StoredSettings&) const = default;
};

} // namespace kestrava
