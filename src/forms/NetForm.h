#pragma once

#include "forms/FormResult.h"
#include "protocol/NetParams.h"

#include <QString>

namespace kestrava {

// The Net page's Set: the typed texts and the two list selections become one NetParams record,
// or the first message that refuses them. Nothing is cut on the way: a text that would not fit
// its field of the set command, a login the command cannot carry, a port outside 0-65535 or a
// user group ID whose last three digits do not fit 8 bits is refused here, before anything is
// stored or sent, so what is stored is exactly what the receiver gets.
class NetForm {
public:
    // Field widths of the set command, in bytes of the 8-bit code page.
    static constexpr int kPhoneBytes = 16;
    static constexpr int kApnBytes = 30;
    static constexpr int kUrlBytes = 30;
    static constexpr int kMountPointBytes = 30;
    // User name, colon and password together; their Base64 form must stay within 59 characters.
    static constexpr int kLoginBytes = 42;
    static constexpr int kMaxPort = 65535;

    static constexpr int kGprs = 0;
    static constexpr int kGsm = 1;
    static constexpr int kCdma = 2;
    static constexpr int kVrs = 0;
    static constexpr int kIntRtk = 1;

    // What the page shows: the selected list items and the edits' texts, as typed.
    struct Input {
        int communicationMode = kGprs; // item of the communication list, -1 for none
        int netMode = kVrs;            // item of the net mode list, -1 for none
        QString apn;
        QString userName;
        QString password;
        QString address; // dotted IPv4 address or a server name
        QString port;
        QString mountPoint;
        QString phone;
        QString userGroupId; // seven digits
        QString subGroupId;  // 000-255
    };

    static FormResult<NetParams> validate(const Input& input);
};

} // namespace kestrava
