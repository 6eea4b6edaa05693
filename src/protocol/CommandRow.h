#pragma once

#include "protocol/CommandId.h"
#include "protocol/FramingMode.h"
#include "protocol/ProtocolTypes.h"
#include "protocol/ReplyKind.h"
#include "protocol/ReplyTimerId.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrava {

// Marks a progress tip: an English text that the exchange shows, translated, in the tip line.
constexpr const char* progressTip(const char* english) {
    return english;
}

// One row of the command table: everything that makes a command what it is, short of the
// encoding of its arguments.
struct CommandRow {
    // Which encoder writes the command's bytes.
    enum class Encoder : std::uint8_t {
        Dollar,      // a dollar frame of class and sub (CommandFrame)
        Firmware,    // the firmware loader's frames (FirmwareCommands)
        Radio,       // a frame of the internal UHF radio; sub is its command byte (RadioCommands)
        BoardPacket, // a motherboard packet; sub is its type (BoardCommands)
        BoardText,   // motherboard text lines that begin with one of textLeads (BoardCommands)
        BoardPacketOrText, // a packet or text lines, by the motherboard's code (BoardCommands)
    };

    // A form of the command that arms its own reply or shows its own tip (the three voice
    // switch codes, the three purposes of a voice-block read, the two static voice states).
    struct Variant {
        std::int32_t kind = KindNone; // the reply kind armed
        const char* tip = nullptr;    // the progress tip: nullptr leaves the tip line as it is,
                                      // "" clears it
        Byte code = 0;                // the payload byte that makes this form, where one does
    };

    // How a sent frame is told from the other commands of the same header: its payload length
    // lies in [minPayload, maxPayload], and where asked its first payload byte is the first
    // variant's code, or the kind armed with it is the first variant's kind. Rows of one header
    // are tried in table order.
    struct Match {
        std::uint16_t minPayload = 0;
        std::uint16_t maxPayload = 0xFFFF;
        bool byCode = false;
        bool byArmedKind = false;
    };

    CommandId id{};
    std::string_view name;
    Encoder encoder = Encoder::Dollar;
    Byte cls = 0; // dollar and firmware frames: class byte
    Byte sub = 0; // dollar and firmware frames: sub byte; radio: command byte; packet: type
    std::int32_t replyFraming = FRAMING_DOLLAR; // the FramingMode of the awaited reply
    bool armsReply = true;                      // false: the command leaves ExpectedReply as it was
    std::array<Variant, 3> variants{};
    std::size_t variantCount = 1;
    Match match{};
    ReplyTimerId timer = TIMER_NONE; // the reply timer the command arms
    int timeoutMs = 0;               // and its time-out
    std::array<std::string_view, 2> textLeads{};

    constexpr const Variant& variant(std::size_t index = 0) const {
        return variants[index < variantCount ? index : 0];
    }
    constexpr std::int32_t kind(std::size_t index = 0) const { return variant(index).kind; }
    constexpr const char* tip(std::size_t index = 0) const { return variant(index).tip; }
};

} // namespace kestrava
