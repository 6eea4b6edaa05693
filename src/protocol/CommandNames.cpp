#include "protocol/CommandNames.h"

#include <cstring>

namespace kestrava {
namespace {

std::string_view byPayloadLength(std::size_t length, std::string_view whenEmpty,
                                 std::string_view otherwise) {
    return length == 0 ? whenEmpty : otherwise;
}

std::string_view dollarCommand(const Byte* frame, std::size_t count, const ExpectedReply& armed) {
    const Byte cls = frame[2];
    const Byte sub = frame[3];
    const std::size_t length = static_cast<std::size_t>(frame[4] | (frame[5] << 8));
    const Byte first = count > 6 ? frame[6] : 0;
    switch ((cls << 8) | sub) {
    case ('V' << 8) | 'C':
        return "ReadMainInfo";
    case ('V' << 8) | 'S':
        return "FirmwareStart";
    case ('V' << 8) | 'X':
        return "FirmwareBlock";
    case ('V' << 8) | 'V':
        return length <= 1 ? "ReadStaticVoice" : "SetStaticVoice";
    case ('G' << 8) | 'Q':
        return first == 0x0A   ? "ConnectInternalRadio"
               : first == 0x03 ? "StartSnrTest"
                               : "StopSnrTest";
    case ('G' << 8) | 'F':
        return byPayloadLength(length, "ReadNetModuleBand", "SetNetModuleBand");
    case ('G' << 8) | 'C':
        return byPayloadLength(length, "ReadNetParams", "SetNetParams");
    case ('G' << 8) | 'A':
        return byPayloadLength(length, "ReadApnParams", "SetApnParams");
    case ('G' << 8) | 'Y':
        return "SetWifiPassword";
    case ('I' << 8) | 'C':
        return "SetRemotePassword";
    case ('F' << 8) | 'J':
        return byPayloadLength(length, "ReadCollectParams", "SetCollectParams");
    case ('F' << 8) | 'E':
        return byPayloadLength(length, "ReadStoreLocation", "SetStoreLocation");
    case ('F' << 8) | 'K':
        return byPayloadLength(length, "ReadFileNaming", "SetFileNaming");
    case ('F' << 8) | 'M':
        return "ReadFileList";
    case ('F' << 8) | 'D':
        return byPayloadLength(length, "FormatFiles", "DeleteFiles");
    case ('F' << 8) | 'C':
        return "ReadRecordingState";
    case ('F' << 8) | 't':
        return length == 0 ? "NextDownloadBlock" : length == 1 ? "StopDownload" : "StartDownload";
    case ('S' << 8) | 'I':
        return "VoiceSwitch";
    case ('I' << 8) | 'K':
        if (length == 0) {
            return "ReadVoiceBlock";
        }
        switch (armed.kind) {
        case KindVoiceTypeSet:
            return "SetVoiceType";
        case KindRinexFlagSet:
            return "SetRinexFlag";
        case KindVolumeSet:
            return "SetVolume";
        default:
            return "SetVoiceBlock";
        }
    default:
        return "unknown";
    }
}

bool startsWith(const Byte* frame, std::size_t count, const char* text) {
    const std::size_t length = std::strlen(text);
    return count >= length && std::memcmp(frame, text, length) == 0;
}

} // namespace

std::string_view CommandNames::identify(const Byte* frame, std::size_t count,
                                        const ExpectedReply& armed) {
    if (count >= 6 && frame[0] == 0x24 && frame[1] == 0x24) {
        return dollarCommand(frame, count, armed);
    }
    if (count >= 4 && frame[0] == 0x96 && frame[2] == 0x80) {
        switch (frame[3]) {
        case 0x63:
            return "ReadRadioChannels";
        case 0x72:
            return "ReadAirBaud";
        case 0x70:
            return "SetAirBaud";
        case 0x61:
            return "WriteRadioChannels";
        default:
            return "unknown";
        }
    }
    if (count >= 3 && frame[0] == 0x02 && frame[1] == 0x00) {
        return frame[2] == 0x06   ? "ReadBoardSerial"
               : frame[2] == 0x64 ? "SetNmeaOutput"
                                  : "unknown";
    }
    if (startsWith(frame, count, "\r\nlog version")) {
        return "ReadBoardVersion";
    }
    if (startsWith(frame, count, "unlog") || startsWith(frame, count, "log ")) {
        return "SetNmeaOutput";
    }
    return "unknown";
}

} // namespace kestrava
