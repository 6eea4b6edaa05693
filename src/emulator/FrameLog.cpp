#include "emulator/FrameLog.h"

#include <cstdio>
#include <string>

namespace kestrava {

void FrameLog::write(SimTime at, std::string_view direction, std::string_view note,
                     const Bytes& bytes) {
    char stamp[32];
    const long long us = at.count();
    std::snprintf(stamp, sizeof stamp, "%4lld.%06lld", us / 1'000'000, us % 1'000'000);
    std::string line = stamp;
    line += ' ';
    line += direction;
    line += ' ';
    line += note;
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const Byte b : bytes) {
        line += ' ';
        line += kHex[b >> 4];
        line += kHex[b & 0x0F];
    }
    line += '\n';
    m_out << line << std::flush;
}

} // namespace kestrava
