#pragma once

#include "protocol/ChannelTable.h"
#include "protocol/NetParams.h"
#include "protocol/NmeaOutputChoice.h"
#include "protocol/ProtocolTypes.h"

#include <cstdint>
#include <optional>

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
    // Known only once read from or set on a receiver; nothing is kept for what never was.
    std::optional<Byte> staticVoice;     // "OtherParams": 1 static voice prompt on, 0 off
    std::optional<Byte> band2g;          // item index of the module's 2G band list
    std::optional<Byte> band3g;          // item index of the module's 3G band list
    std::optional<std::int32_t> airBaud; // "HZParams": the internal radio's air baud rate

    // The values a first run starts from and writes (not the fallbacks of missing keys).
    static StoredSettings firstRunDefaults();

    bool operator==(const StoredSettings&) const = default;
};

} // namespace kestrava
