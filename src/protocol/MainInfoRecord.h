#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstdint>

namespace kestrava {

// Motherboard codes as decoded from the main information.
enum MotherboardCode : std::int32_t {
    MOTHERBOARD_NOVATEL = 0, // speaks ASCII commands; version read with "log version"
    MOTHERBOARD_TRIMBLE = 4, // speaks packets; serial read with a type-6 packet
    MOTHERBOARD_OTHER = 10,  // no motherboard information is read
};

// The receiver's identity, decoded from the 'V','C' reply.
struct MainInfoRecord {
    ByteString serialNumber;    // 8 characters, or 7 when payload byte 0 is zero
    ByteString receiverVersion; // payload byte 13 / 10 as "%.1f"
    Byte receiverTypeCode = 0;  // payload byte 14: '4', '5', '6' are static-only receivers
    Byte byte16 = 0;            // payload byte 16: 27 shows the static voice controls
    Byte sFlag = 0;             // 1 when payload byte 21 is 1
    std::int32_t motherboardCode = MOTHERBOARD_OTHER; // from payload byte 17 (1 -> 0, 4 -> 4)
    Byte gprsModuleCode = 0;                          // payload byte 19
    ByteString moduleHardwareVersion;                 // payload byte 38 / 10 as "%.1f"
    ByteString moduleFirmwareVersion;                 // payload byte 37 / 10 as "%.1f"
    Byte eFlag = 0;                                   // 0 when payload byte 15 is 1, else 1

    bool operator==(const MainInfoRecord&) const = default;
};

} // namespace kestrava
