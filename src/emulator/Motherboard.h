#pragma once

#include "emulator/ReceiverProfile.h"
#include "emulator/SimTime.h"
#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kestrava {

// The OEM motherboard behind the receiver. A packet board answers a serial request (type 0x06)
// with a serial reply (type 0x07) and takes NMEA output settings as an application file packet
// (type 0x64); a text board answers "log version" with a version log and takes "log", "unlog"
// and "unlogall" lines. Either then outputs the chosen NMEA sentences at their rates; only the
// sentences of the port the host is connected to reach the host.
class Motherboard {
public:
    static constexpr std::size_t kPorts = 2;
    static constexpr std::size_t kSentences = 7; // GGA, GSV, RMC, GSA, VTG, ZDA, GST

    explicit Motherboard(const ReceiverProfile& profile);

    // The reply to a packet or a text line, if any; settings commands change the output and are
    // not answered. A board of the other kind ignores the command.
    std::optional<Bytes> handlePacket(const Bytes& packet, SimTime now);
    std::optional<Bytes> handleText(const Bytes& line, SimTime now);

    // Output period of a sentence on a port in milliseconds; 0 when it is off.
    std::uint32_t periodMs(std::size_t port, std::size_t sentence) const {
        return m_period[port][sentence];
    }
    // Sentences due on the host's port up to now, and when the next one falls due.
    Bytes takeSentences(SimTime now);
    std::optional<SimTime> nextSentence() const;

    // One NMEA sentence with its checksum and CR LF, stamped with the given time.
    ByteString sentence(std::size_t which, SimTime at) const;

private:
    void setOutput(std::size_t port, std::size_t sentence, std::uint32_t periodMs, SimTime now);
    void clearPort(std::size_t port);
    Bytes serialReply() const;
    Bytes versionLog() const;
    std::string ggaFix() const;
    std::string ggaAge() const;
    std::size_t hostPort() const { return m_profile.hostPort == 1 ? 1 : 0; }

    const ReceiverProfile& m_profile;
    std::array<std::array<std::uint32_t, kSentences>, kPorts> m_period{};
    std::array<SimTime, kSentences> m_next{};
};

} // namespace kestrava
