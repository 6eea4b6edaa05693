#pragma once

#include "emulator/StaticFile.h"
#include "protocol/ProtocolTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrava {

// Which OEM motherboard sits behind the receiver, by how it is spoken to. The main information
// reports it in its motherboard byte: 1 for the text-command board, 4 for the packet board.
enum class BoardKind { Text, Packet, Other };

// The variant of receiver that the emulator plays. Every field is what the receiver reports about
// itself; the defaults make a full-featured receiver with a packet motherboard and a few files.
struct ReceiverProfile {
    ByteString serialNumber = "KS260107"; // 8 characters; a leading zero byte gives 7
    Byte version = 25;                    // tenths: 25 is shown as 2.5
    Byte receiverType = 'Q';              // '4', '5', '6' are static-only; 90 and above hold input
    Byte byte16 = 27;                     // 27 shows the static voice controls
    BoardKind board = BoardKind::Packet;
    Byte otherBoardCode = 2;  // the motherboard byte when board is Other
    Byte gprsModule = 3;      // GPRS/3G module code
    Byte moduleFirmware = 12; // tenths
    Byte moduleHardware = 10; // tenths
    bool sFlag = false;
    bool eFlag = true;
    bool recording = false;

    // Motherboard identity.
    ByteString boardSerial = "5309K41207"; // 10 characters
    ByteString boardType = "GNSSRCV8";     // 8 characters
    ByteString boardVersion = "481";       // shown as 4.81
    ByteString boardModel = "OEMG7";
    ByteString boardHardware = "2.01";
    ByteString boardSoftware = "7.08.10";

    // Firmware loader.
    int hardwareCode = 98;     // 88 or 98
    bool fastFirmware = false; // ask for 512-byte blocks at 115200 baud

    Byte wifiResult = 0;                    // result code of a WiFi password change (0 to 3)
    std::uint32_t downloadBlockSize = 4095; // largest data block of a download (2 to 4095)
    Byte hostPort = 0;                      // which receiver port the host is on: 0 COM1, 1 COM2

    // The fix its NMEA output reports: GGA quality (0 none, 1 GPS, 2 DGPS, 4 RTK fixed, 5 RTK
    // float), satellites used and age of corrections in seconds (none without corrections).
    int fixQuality = 1;
    int satellites = 9;
    std::optional<double> correctionAge;

    std::vector<StaticFile> files = generatedFiles(10);

    // The motherboard byte of the main information.
    Byte boardCode() const {
        switch (board) {
        case BoardKind::Text:
            return 1;
        case BoardKind::Packet:
            return 4;
        case BoardKind::Other:
            break;
        }
        return otherBoardCode;
    }

    static std::vector<StaticFile> generatedFiles(std::uint32_t count) {
        std::vector<StaticFile> files;
        for (std::uint32_t i = 0; i < count; ++i) {
            files.push_back(StaticFile::generated(i));
        }
        return files;
    }

    // Named variants: "base" (the defaults), "static" (a static-only receiver with a text
    // motherboard, recording, fast firmware of code 88), "wifi" (a WiFi receiver of type 'Z'
    // with a text motherboard). Unknown names give nothing.
    static std::optional<ReceiverProfile> named(const std::string& name) {
        ReceiverProfile profile;
        if (name == "base") {
            return profile;
        }
        if (name == "static") {
            profile.receiverType = '5';
            profile.byte16 = 0;
            profile.board = BoardKind::Text;
            profile.recording = true;
            profile.hardwareCode = 88;
            profile.fastFirmware = true;
            return profile;
        }
        if (name == "wifi") {
            profile.receiverType = 'Z';
            profile.board = BoardKind::Text;
            profile.gprsModule = 6;
            return profile;
        }
        return std::nullopt;
    }
};

} // namespace kestrava
