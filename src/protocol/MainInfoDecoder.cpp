#include "protocol/MainInfoDecoder.h"

#include <cstdio>

namespace kestrava {

ByteString MainInfoDecoder::tenths(Byte value) {
    char text[16] = {};
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value) / 10.0);
    return text;
}

bool MainInfoDecoder::decode(const FieldReader& payload, MainInfoRecord& record) {
    if (!payload.has(0, kMinPayload)) {
        return false;
    }
    MainInfoRecord out;
    // A zero first byte marks a 7-character serial number in bytes 1 to 7.
    out.serialNumber = payload.byte(0) != 0 ? payload.text(0, 8) : payload.text(1, 7);
    out.receiverVersion = tenths(payload.byte(13));
    out.receiverTypeCode = payload.byte(14);
    out.eFlag = payload.byte(15) == 1 ? 0 : 1;
    out.byte16 = payload.byte(16);
    switch (payload.byte(17)) {
    case 1:
        out.motherboardCode = MOTHERBOARD_NOVATEL;
        break;
    case 4:
        out.motherboardCode = MOTHERBOARD_TRIMBLE;
        break;
    default:
        out.motherboardCode = MOTHERBOARD_OTHER;
        break;
    }
    out.gprsModuleCode = payload.byte(19);
    out.sFlag = payload.byte(21) == 1 ? 1 : 0;
    if (payload.has(37)) {
        out.moduleFirmwareVersion = tenths(payload.byte(37));
    }
    if (payload.has(38)) {
        out.moduleHardwareVersion = tenths(payload.byte(38));
    }
    record = out;
    return true;
}

} // namespace kestrava
