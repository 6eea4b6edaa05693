#pragma once

#include "protocol/ExpectedReply.h"
#include "protocol/NmeaOutputChoice.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>

namespace kestrava {

// Builders of the commands to the receiver's OEM GNSS motherboard, which speaks packets
// (motherboard code 4) or ASCII commands (motherboard code 0). Each replaces out with the exact
// bytes to write and returns their number. Replies carry no class and sub, so only the kind and
// the framing are armed; the class and sub bytes of expected are left as they were.

// Packet 02 00 06 00 06 03 asking a code-4 board for its serial number. Kind 9, packet framing.
// 6 bytes.
std::size_t ReadBoardSerial(Bytes& out, ExpectedReply& expected);

// The 15 bytes "\r\nlog version\r\n" asking a code-0 board for its version log. Kind 10, ASCII
// framing.
std::size_t ReadBoardVersion(Bytes& out, ExpectedReply& expected);

// NMEA output of the board's COM1 (port 0) or COM2 (any other port value) for the seven
// sentences GGA, GSV, RMC, GSA, VTG, ZDA, GST. Nothing is awaited, so no ExpectedReply is
// touched.
//
// Text form, for a code-0 board: "unlogall comN\r\n" first when the clear flag is set, then one
// line per sentence: "log comN <name> ontime <rate>\r\n" when on, "unlog comN <name>\r\n" when
// off; rates by index 0..5 are 1, 2, 5, 10, 0.5 and 0.2 seconds, and an index outside that range
// leaves the rate out.
std::size_t SetNmeaOutputText(Bytes& out, const NmeaOutputChoice& choice);

// Packet form, for a code-4 board: an application file packet (type 0x64) with an optional clear
// record and seven output records. 83 bytes, 93 with the clear record.
std::size_t SetNmeaOutputPacket(Bytes& out, const NmeaOutputChoice& choice);

// The form that fits the motherboard code: text for code 0, packet for code 4. For any other
// code nothing is built: out is emptied and 0 is returned.
std::size_t SetNmeaOutput(Bytes& out, const NmeaOutputChoice& choice, std::int32_t motherboardCode);

} // namespace kestrava
