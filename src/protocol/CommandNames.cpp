#include "protocol/CommandNames.h"

#include "protocol/CommandTable.h"

#include <cstring>

namespace kestrava {
namespace {

using Encoder = CommandRow::Encoder;

bool matches(const CommandRow& entry, std::size_t payloadLength, Byte first,
             const ExpectedReply& armed) {
    const CommandRow::Match& m = entry.match;
    return payloadLength >= m.minPayload && payloadLength <= m.maxPayload &&
           (!m.byCode || first == entry.variant().code) &&
           (!m.byArmedKind || armed.kind == entry.kind());
}

std::string_view dollarCommand(const Byte* frame, std::size_t count, const ExpectedReply& armed) {
    const std::size_t length = static_cast<std::size_t>(frame[4] | (frame[5] << 8));
    const Byte first = count > 6 ? frame[6] : 0;
    bool headerKnown = false;
    for (const CommandRow& entry : CommandTable::all()) {
        if ((entry.encoder != Encoder::Dollar && entry.encoder != Encoder::Firmware) ||
            entry.cls != frame[2] || entry.sub != frame[3]) {
            continue;
        }
        headerKnown = true;
        if (matches(entry, length, first, armed)) {
            return entry.name;
        }
    }
    // A voice-block set armed for none of the three setters.
    return headerKnown ? std::string_view("SetVoiceBlock") : std::string_view("unknown");
}

std::string_view byCode(Encoder encoder, Byte code) {
    for (const CommandRow& entry : CommandTable::all()) {
        if ((entry.encoder == encoder ||
             (encoder == Encoder::BoardPacket && entry.encoder == Encoder::BoardPacketOrText)) &&
            entry.sub == code) {
            return entry.name;
        }
    }
    return "unknown";
}

bool startsWith(const Byte* frame, std::size_t count, std::string_view text) {
    return !text.empty() && count >= text.size() &&
           std::memcmp(frame, text.data(), text.size()) == 0;
}

std::string_view byText(const Byte* frame, std::size_t count) {
    for (const CommandRow& entry : CommandTable::all()) {
        for (std::string_view lead : entry.textLeads) {
            if (startsWith(frame, count, lead)) {
                return entry.name;
            }
        }
    }
    return "unknown";
}

} // namespace

std::string_view CommandNames::identify(const Byte* frame, std::size_t count,
                                        const ExpectedReply& armed) {
    if (count >= 6 && frame[0] == 0x24 && frame[1] == 0x24) {
        return dollarCommand(frame, count, armed);
    }
    if (count >= 4 && frame[0] == 0x96 && frame[2] == 0x80) {
        return byCode(Encoder::Radio, frame[3]);
    }
    if (count >= 3 && frame[0] == 0x02 && frame[1] == 0x00) {
        return byCode(Encoder::BoardPacket, frame[2]);
    }
    return byText(frame, count);
}

} // namespace kestrava
