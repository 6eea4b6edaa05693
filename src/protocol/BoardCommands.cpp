#include "protocol/BoardCommands.h"

#include "protocol/BuilderSupport.h"
#include "protocol/Checksums.h"
#include "protocol/MainInfoRecord.h"

#include <array>
#include <string_view>

namespace kestrava {

namespace {

constexpr std::string_view kVersionRequest = "\r\nlog version\r\n";

struct SentenceCodes {
    std::string_view textName; // log name of a code-0 board
    Byte messageCode;          // output record code of a code-4 board
};

// In the order of NmeaOutputChoice: GGA, GSV, RMC, GSA, VTG, ZDA, GST.
constexpr std::array<SentenceCodes, NmeaOutputChoice::kSentences> kSentences = {{
    {"gpgga", 6},
    {"gpgsv", 18},
    {"gprmc", 40},
    {"gpgsa", 38},
    {"gpvtg", 12},
    {"gpzda", 8},
    {"gpgst", 13},
}};

// Rate index 0..5 as text (seconds) and as a packet rate code.
constexpr std::array<std::string_view, 6> kRateTexts = {"1", "2", "5", "10", "0.5", "0.2"};
constexpr std::array<Byte, 6> kRateCodes = {3, 4, 5, 6, 11, 2};

constexpr Byte kPacketStart = 0x02;
constexpr Byte kPacketEnd = 0x03;
constexpr std::array<Byte, 7> kApplicationHeader = {0x00, 0x00, 0x00, 0x03, 0x00, 0x01, 0x00};
constexpr std::size_t kRecordSize = 10;

void append(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

// Appends a 10-byte output record: 07 08 code port rate 00 00 00 00 00.
void appendRecord(Bytes& out, Byte code, Byte port, Byte rate) {
    const std::array<Byte, kRecordSize> record = {0x07, 0x08, code, port, rate, 0, 0, 0, 0, 0};
    out.insert(out.end(), record.begin(), record.end());
}

} // namespace

std::size_t ReadBoardSerial(Bytes& out, ExpectedReply& expected) {
    const CommandRow& entry = CommandTable::row(CommandId::ReadBoardSerial);
    out.assign({kPacketStart, 0x00, entry.sub, 0x00});
    out.push_back(PacketChecksum(out.data(), out.size()));
    out.push_back(kPacketEnd);
    armFor(expected, entry);
    return out.size();
}

std::size_t ReadBoardVersion(Bytes& out, ExpectedReply& expected) {
    out.assign(kVersionRequest.begin(), kVersionRequest.end());
    armFor(expected, CommandTable::row(CommandId::ReadBoardVersion));
    return out.size();
}

std::size_t SetNmeaOutputText(Bytes& out, const NmeaOutputChoice& choice) {
    const std::string_view port = choice.port() == 0 ? "com1 " : "com2 ";
    out.clear();
    if (choice.clearAll() != 0) {
        append(out, choice.port() == 0 ? "unlogall com1\r\n" : "unlogall com2\r\n");
    }
    for (std::size_t s = 0; s < kSentences.size(); ++s) {
        if (choice.on(s) != 0) {
            append(out, "log ");
            append(out, port);
            append(out, kSentences[s].textName);
            append(out, " ontime ");
            const Byte rate = choice.rate(s);
            if (rate < kRateTexts.size()) {
                append(out, kRateTexts[rate]);
            }
        } else {
            append(out, "unlog ");
            append(out, port);
            append(out, kSentences[s].textName);
        }
        append(out, "\r\n");
    }
    return out.size();
}

std::size_t SetNmeaOutputPacket(Bytes& out, const NmeaOutputChoice& choice) {
    const Byte port = choice.port() == 0 ? 0 : 1;
    const bool clear = choice.clearAll() != 0;
    const std::size_t dataLength =
        kApplicationHeader.size() + (clear ? 1 : 0) * kRecordSize + kSentences.size() * kRecordSize;

    out.clear();
    out.reserve(dataLength + 6);
    out.push_back(kPacketStart);
    out.push_back(0x00);
    out.push_back(CommandTable::row(CommandId::SetNmeaOutput).sub); // application file
    out.push_back(static_cast<Byte>(dataLength));
    out.insert(out.end(), kApplicationHeader.begin(), kApplicationHeader.end());
    if (clear) {
        appendRecord(out, 0xFF, port, 0x00);
    }
    for (std::size_t s = 0; s < kSentences.size(); ++s) {
        Byte rate = 0;
        if (choice.on(s) != 0 && choice.rate(s) < kRateCodes.size()) {
            rate = kRateCodes[choice.rate(s)];
        }
        appendRecord(out, kSentences[s].messageCode, port, rate);
    }
    out.push_back(PacketChecksum(out.data(), out.size()));
    out.push_back(kPacketEnd);
    return out.size();
}

std::size_t SetNmeaOutput(Bytes& out, const NmeaOutputChoice& choice,
                          std::int32_t motherboardCode) {
    switch (motherboardCode) {
    case MOTHERBOARD_NOVATEL:
        return SetNmeaOutputText(out, choice);
    case MOTHERBOARD_TRIMBLE:
        return SetNmeaOutputPacket(out, choice);
    default:
        out.clear();
        return 0;
    }
}

} // namespace kestrava
