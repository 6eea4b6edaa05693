#include "protocol/RadioCommands.h"

#include "protocol/BuilderSupport.h"
#include "protocol/Checksums.h"

#include <cmath>
#include <initializer_list>

namespace kestrava {

namespace {

constexpr Byte kRadioStart = 0x96;
constexpr Byte kRadioAddress = 0x80;

// Builds 96 N 80 code 00 00 parameters checksum into out and returns its length.
std::size_t buildRadio(Bytes& out, Byte code, std::initializer_list<Byte> parameters) {
    out.clear();
    const std::size_t total = 7 + parameters.size();
    out.reserve(total);
    out.push_back(kRadioStart);
    out.push_back(static_cast<Byte>(total - 2));
    out.push_back(kRadioAddress);
    out.push_back(code);
    out.push_back(0x00);
    out.push_back(0x00);
    out.insert(out.end(), parameters.begin(), parameters.end());
    out.push_back(RadioChecksum(out.data(), out.size()));
    return out.size();
}

// Builds the radio command of the row into out and arms expected for its reply.
std::size_t buildArmedRadio(Bytes& out, ExpectedReply& expected, CommandId id,
                            std::initializer_list<Byte> parameters) {
    const CommandRow& entry = CommandTable::row(id);
    armFor(expected, entry);
    return buildRadio(out, entry.sub, parameters);
}

constexpr std::size_t kChannelFrameSize = 87;
constexpr std::size_t kChannelWriteSize = 100;
constexpr std::size_t kTransmitOffset = 6;
constexpr std::size_t kReceiveOffset = 46;

} // namespace

std::uint16_t radioFrequencyCode(double megahertz) {
    const double scaled = megahertz * 1000.0 + 0.4;
    if (!(scaled >= 0.0)) { // negative or NaN
        return 0;
    }
    constexpr double kLimit = 25.0 * 65536.0;
    if (scaled >= kLimit) {
        return 0xFFFF;
    }
    const auto kilohertz = static_cast<std::uint32_t>(scaled);
    return static_cast<std::uint16_t>(kilohertz / 25u);
}

std::size_t ReadRadioChannels(Bytes& out, ExpectedReply& expected) {
    return buildArmedRadio(out, expected, CommandId::ReadRadioChannels, {});
}

std::size_t ReadAirBaud(Bytes& out, ExpectedReply& expected) {
    return buildArmedRadio(out, expected, CommandId::ReadAirBaud, {});
}

std::size_t SetAirBaud(Bytes& out, ExpectedReply& expected, std::int32_t bitsPerSecond) {
    const Byte rate = bitsPerSecond == 9600 ? 0x55 : 0x40;
    return buildArmedRadio(out, expected, CommandId::SetAirBaud, {0x20, 0xCC, 0xAC, 0x32, rate});
}

std::size_t WriteRadioChannels(Bytes& out, ExpectedReply& expected, const ChannelTable& table) {
    out.assign(kChannelWriteSize, 0x00);
    out[0] = kRadioStart;
    out[1] = static_cast<Byte>(kChannelFrameSize - 2);
    out[2] = kRadioAddress;
    const CommandRow& entry = CommandTable::row(CommandId::WriteRadioChannels);
    out[3] = entry.sub;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::uint16_t tx = radioFrequencyCode(static_cast<double>(table[i].transmit));
        const std::uint16_t rx = radioFrequencyCode(static_cast<double>(table[i].receive));
        out[kTransmitOffset + 2 * i] = static_cast<Byte>(tx >> 8);
        out[kTransmitOffset + 2 * i + 1] = static_cast<Byte>(tx & 0xFFu);
        out[kReceiveOffset + 2 * i] = static_cast<Byte>(rx >> 8);
        out[kReceiveOffset + 2 * i + 1] = static_cast<Byte>(rx & 0xFFu);
    }
    out[kChannelFrameSize - 1] = RadioChecksum(out.data(), kChannelFrameSize - 1);
    armFor(expected, entry);
    return out.size();
}

} // namespace kestrava
