#pragma once

#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstdint>

namespace kestrava {

// The network parameter record: argument of SetNetParams, result of ReadNetParams and the
// "NetParams" section of the settings file. Texts are in the receiver's code page.
struct NetParams {
    Byte communicationMode = 0; // 0 GPRS, 1 GSM, 2 CDMA
    Byte netMode = 0;           // 0 VRS (caster login), 1 IntRTK (maker's server login)
    std::int32_t groupId1 = 0;  // first four digits of the user group ID, 0..9999
    Byte groupId2 = 0;          // last three digits of the user group ID
    Byte userId = 0;            // sub group ID, 0..255
    std::array<Byte, 4> ip{};   // dotted IPv4 server address, first octet first
    std::int32_t port = 0;      // server port
    ByteString phoneNumber;     // 16 bytes on the wire
    ByteString apnName;         // 30 bytes on the wire
    ByteString vrsName;         // caster user name
    ByteString vrsPassword;     // caster password
    ByteString sourceNode;      // mount point, 30 bytes on the wire
    ByteString url;             // server name when isUrl, 30 bytes sent, 40 read
    bool isUrl = false;         // the server is given by name

    bool operator==(const NetParams&) const = default;
};

} // namespace kestrava
