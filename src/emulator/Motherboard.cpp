#include "emulator/Motherboard.h"

#include "protocol/Checksums.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace kestrava {

namespace {

constexpr const char* kNames[Motherboard::kSentences] = {"gpgga", "gpgsv", "gprmc", "gpgsa",
                                                         "gpvtg", "gpzda", "gpgst"};
constexpr Byte kPacketCodes[Motherboard::kSentences] = {6, 18, 40, 38, 12, 8, 13};

// Periods in milliseconds of the text board's rates and of the packet board's rate codes.
std::optional<std::uint32_t> textPeriod(const std::string& seconds) {
    if (seconds == "1")
        return 1000;
    if (seconds == "2")
        return 2000;
    if (seconds == "5")
        return 5000;
    if (seconds == "10")
        return 10000;
    if (seconds == "0.5")
        return 500;
    if (seconds == "0.2")
        return 200;
    return std::nullopt;
}

std::uint32_t packetPeriod(Byte rateCode) {
    switch (rateCode) {
    case 3:
        return 1000;
    case 4:
        return 2000;
    case 5:
        return 5000;
    case 6:
        return 10000;
    case 11:
        return 500;
    case 2:
        return 200;
    default:
        return 0;
    }
}

std::optional<std::size_t> portOf(const std::string& word) {
    if (word == "com1")
        return 0;
    if (word == "com2")
        return 1;
    return std::nullopt;
}

std::optional<std::size_t> sentenceOf(const std::string& word) {
    for (std::size_t i = 0; i < Motherboard::kSentences; ++i) {
        if (word == kNames[i]) {
            return i;
        }
    }
    return std::nullopt;
}

void putText(Bytes& out, std::size_t at, const ByteString& text, std::size_t width) {
    for (std::size_t i = 0; i < width && i < text.size(); ++i) {
        out[at + i] = static_cast<Byte>(text[i]);
    }
}

} // namespace

Motherboard::Motherboard(const ReceiverProfile& profile) : m_profile(profile) {}

void Motherboard::setOutput(std::size_t port, std::size_t which, std::uint32_t period,
                            SimTime now) {
    m_period[port][which] = period;
    if (port == hostPort() && period > 0) {
        m_next[which] = now + std::chrono::milliseconds(period);
    }
}

void Motherboard::clearPort(std::size_t port) {
    m_period[port].fill(0);
}

std::optional<Bytes> Motherboard::handlePacket(const Bytes& packet, SimTime now) {
    if (m_profile.board != BoardKind::Packet || packet.size() < 6 ||
        PacketChecksum(packet.data(), packet.size() - 2) != packet[packet.size() - 2]) {
        return std::nullopt;
    }
    const Byte type = packet[2];
    if (type == 0x06) {
        return serialReply();
    }
    if (type == 0x64) {
        // Records of 10 bytes after a 7-byte header: 07 08 message port rate ...
        const std::size_t dataEnd = packet.size() - 2;
        for (std::size_t at = 11; at + 10 <= dataEnd; at += 10) {
            if (packet[at] != 0x07 || packet[at + 1] != 0x08) {
                continue;
            }
            const std::size_t port = packet[at + 3] == 1 ? 1 : 0;
            if (packet[at + 2] == 0xFF) {
                clearPort(port);
                continue;
            }
            const auto code =
                std::find(std::begin(kPacketCodes), std::end(kPacketCodes), packet[at + 2]);
            if (code != std::end(kPacketCodes)) {
                setOutput(port, static_cast<std::size_t>(code - std::begin(kPacketCodes)),
                          packetPeriod(packet[at + 4]), now);
            }
        }
    }
    return std::nullopt;
}

std::optional<Bytes> Motherboard::handleText(const Bytes& line, SimTime now) {
    if (m_profile.board != BoardKind::Text) {
        return std::nullopt;
    }
    std::istringstream in(std::string(line.begin(), line.end()));
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        std::transform(word.begin(), word.end(), word.begin(), [](char c) {
            return static_cast<char>(std::tolower(static_cast<Byte>(c)));
        });
        words.push_back(word);
    }
    if (words.size() == 2 && words[0] == "log" && words[1] == "version") {
        return versionLog();
    }
    if (words.size() == 2 && words[0] == "unlogall") {
        if (const auto port = portOf(words[1])) {
            clearPort(*port);
        }
    } else if (words.size() == 3 && words[0] == "unlog") {
        const auto port = portOf(words[1]);
        const auto which = sentenceOf(words[2]);
        if (port && which) {
            setOutput(*port, *which, 0, now);
        }
    } else if (words.size() == 5 && words[0] == "log" && words[3] == "ontime") {
        const auto port = portOf(words[1]);
        const auto which = sentenceOf(words[2]);
        const auto period = textPeriod(words[4]);
        if (port && which && period) {
            setOutput(*port, *which, *period, now);
        }
    }
    return std::nullopt;
}

Bytes Motherboard::serialReply() const {
    // 02 status 07 length data checksum 03; the host reads the type text at packet offsets 12 to
    // 19, the version digits at 22 to 24 and the serial at 49 to 58.
    constexpr std::size_t kData = 56;
    Bytes packet(4 + kData, 0);
    packet[0] = 0x02;
    packet[2] = 0x07;
    packet[3] = kData;
    putText(packet, 12, m_profile.boardType, 8);
    putText(packet, 22, m_profile.boardVersion, 3);
    putText(packet, 49, m_profile.boardSerial, 10);
    packet.push_back(PacketChecksum(packet.data(), packet.size()));
    packet.push_back(0x03);
    return packet;
}

Bytes Motherboard::versionLog() const {
    const ByteString text = "\r\n<OK\r\n<VERSION 1\r\n<     BOARD \"" + m_profile.boardModel +
                            "\" \"" + m_profile.boardSerial + "\" \"" + m_profile.boardHardware +
                            "\" \"" + m_profile.boardSoftware +
                            "\" \"2026/01/12\" \"09:30:00\"\r\n";
    return Bytes(text.begin(), text.end());
}

std::string Motherboard::ggaFix() const {
    char text[32];
    std::snprintf(text, sizeof text, "%d,%02d,%.1f", m_profile.fixQuality, m_profile.satellites,
                  m_profile.fixQuality == 4 ? 0.6 : 0.9);
    return text;
}

std::string Motherboard::ggaAge() const {
    std::optional<double> age = m_profile.correctionAge;
    if (!age && (m_profile.fixQuality == 2 || m_profile.fixQuality >= 4)) {
        age = 1.0;
    }
    if (!age) {
        return ",";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f,0000", *age);
    return text;
}

ByteString Motherboard::sentence(std::size_t which, SimTime at) const {
    const auto total = static_cast<long long>(at.count() / 10000); // hundredths of a second
    const int hundredths = static_cast<int>(total % 100);
    const long long seconds = total / 100 + 8 * 3600;
    const int s = static_cast<int>(seconds % 60);
    const int m = static_cast<int>((seconds / 60) % 60);
    const int h = static_cast<int>((seconds / 3600) % 24);
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d%02d%02d.%02d", h, m, s, hundredths);
    const std::string t(stamp);
    std::string body;
    switch (which) {
    case 0:
        body = "GPGGA," + t + ",3015.1234,N,12007.5678,E," + ggaFix() + ",35.2,M,7.1,M," + ggaAge();
        break;
    case 1:
        body = "GPGSV,1,1,04,05,62,040,45,13,41,305,43,15,22,090,38,29,70,210,47";
        break;
    case 2:
        body = "GPRMC," + t + ",A,3015.1234,N,12007.5678,E,0.0,0.0,120126,,,A";
        break;
    case 3:
        body = "GPGSA,A,3,05,13,15,29,,,,,,,,,1.6,0.9,1.3";
        break;
    case 4:
        body = "GPVTG,0.0,T,,M,0.0,N,0.0,K,A";
        break;
    case 5:
        body = "GPZDA," + t + ",12,01,2026,00,00";
        break;
    default:
        body = "GPGST," + t + ",1.2,0.8,0.6,45.0,0.7,0.6,1.1";
        break;
    }
    Byte sum = 0;
    for (const char c : body) {
        sum ^= static_cast<Byte>(c);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

Bytes Motherboard::takeSentences(SimTime now) {
    Bytes out;
    const auto& periods = m_period[hostPort()];
    for (std::size_t i = 0; i < kSentences; ++i) {
        if (periods[i] == 0 || m_next[i] > now) {
            continue;
        }
        const ByteString text = sentence(i, m_next[i]);
        out.insert(out.end(), text.begin(), text.end());
        const SimTime period = std::chrono::milliseconds(periods[i]);
        m_next[i] += period;
        if (m_next[i] <= now) {
            // Fell behind (the host was not reading): skip ahead instead of bursting.
            m_next[i] = now + period;
        }
    }
    return out;
}

std::optional<SimTime> Motherboard::nextSentence() const {
    std::optional<SimTime> next;
    const auto& periods = m_period[hostPort()];
    for (std::size_t i = 0; i < kSentences; ++i) {
        if (periods[i] != 0 && (!next || m_next[i] < *next)) {
            next = m_next[i];
        }
    }
    return next;
}

} // namespace kestrava
