#pragma once

#include "protocol/ProtocolTypes.h"

namespace kestrava {

// What the receiver type code of the main information says a receiver has. Every part of the
// program that treats receivers differently by their type asks here.
class ReceiverType {
public:
    // Types '4', '5' and '6' are static-only receivers: the window offers them the Static and
    // Basic pages alone, without the remote connection password, the file naming or the files.
    static constexpr bool staticOnly(Byte code) {
        return code == '4' || code == '5' || code == '6';
    }
    // Types above 'Y' carry a WiFi module.
    static constexpr bool hasWifi(Byte code) { return code > 'Y'; }
};

} // namespace kestrava
