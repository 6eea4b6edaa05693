#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>

namespace kestrava {

// One complete command taken from the host's byte stream, as the receiver tells them apart.
struct HostCommand {
    enum class Type {
        Dollar,        // a dollar frame with a length field
        FirmwareStart, // the 10-byte loader handshake ("$$VS", no usable length field)
        FirmwareBlock, // a loader data block ("$$VX", length fixed by the loader's layout)
        Radio,         // a frame for the internal UHF radio
        Packet,        // a packet for a packet-speaking motherboard
        Text,          // one text line for a text-speaking motherboard, without CR LF
    };

    Type type = Type::Dollar;
    Bytes bytes;
    std::size_t endOffset = 0; // stream offset just past the command's last byte
};

} // namespace kestrava
