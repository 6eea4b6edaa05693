#pragma once

#include "protocol/ProtocolTypes.h"

#include <cstddef>

namespace kestrava::test {

// A dollar frame built here, independently of the code under test: the two dollar bytes, class,
// subclass, little-endian payload length, payload, XOR of everything after the dollars, CR LF.
inline Bytes frame(char cls, char sub, Bytes payload = {}) {
    Bytes f = {0x24,
               0x24,
               static_cast<Byte>(cls),
               static_cast<Byte>(sub),
               static_cast<Byte>(payload.size() & 0xFF),
               static_cast<Byte>(payload.size() >> 8)};
    f.insert(f.end(), payload.begin(), payload.end());
    Byte x = 0;
    for (std::size_t i = 2; i < f.size(); ++i) {
        x ^= f[i];
    }
    f.push_back(x);
    f.push_back(0x0D);
    f.push_back(0x0A);
    return f;
}

} // namespace kestrava::test
