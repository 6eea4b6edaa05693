#include "protocol/CommandNames.h"

#include "protocol/CommandTable.h"

#include <cstring>

namespace kestrava {
namespace {

using Encoder = CommandSpec::Encoder;

bool matches(const CommandSpec& spec, std::size_t payloadLength, Byte first,
             const ExpectedReply& armed) {
    const CommandSpec::Match& m = spec.match;
    return payloadLength >= m.minPayload && payloadLength <= m.maxPayload &&
           (!m.byCode || first == spec.variant().code) &&
           (!m.byArmedKind || armed.kind == spec.kind());
}

std::string_view dollarCommand(const Byte* frame, std::size_t count, const ExpectedReply& armed) {
    const std::size_t length = static_cast<std::size_t>(frame[4] | (frame[5] << 8));
    const Byte first = count > 6 ? frame[6] : 0;
    bool headerKnown = false;
    for (const CommandSpec& spec : CommandTable::all()) {
        if ((spec.encoder != Encoder::Dollar && spec.encoder != Encoder::Firmware) ||
            spec.cls != frame[2] || spec.sub != frame[3]) {
            continue;
        }
        headerKnown = true;
        if (matches(spec, length, first, armed)) {
            return spec.name;
        }
    }
    // A voice-block set armed for none of the three setters.
    return headerKnown ? std::string_view("SetVoiceBlock") : std::string_view("unknown");
}

std::string_view byCode(Encoder encoder, Byte code) {
    for (const CommandSpec& spec : CommandTable::all()) {
        if ((spec.encoder == encoder ||
             (encoder == Encoder::BoardPacket && spec.encoder == Encoder::BoardPacketOrText)) &&
            spec.sub == code) {
            return spec.name;
        }
    }
    return "unknown";
}

bool startsWith(const Byte* frame, std::size_t count, std::string_view text) {
    return !text.empty() && count >= text.size() &&
           std::memcmp(frame, text.data(), text.size()) == 0;
}

std::string_view byText(const Byte* frame, std::size_t count) {
    for (const CommandSpec& spec : CommandTable::all()) {
        for (std::string_view lead : spec.textLeads) {
            if (startsWith(frame, count, lead)) {
                return spec.name;
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
