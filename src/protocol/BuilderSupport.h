#pragma once

#include "protocol/CommandFrame.h"
#include "protocol/CommandTable.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrava {

// Arms expected with the reply that the command's row awaits in the given form: the row's kind
// and reply framing, and for dollar and firmware frames the row's class and sub (the other
// framings leave those as they were).
inline void armFor(ExpectedReply& expected, const CommandRow& entry, std::size_t form = 0) {
    if (entry.encoder == CommandRow::Encoder::Dollar ||
        entry.encoder == CommandRow::Encoder::Firmware) {
        expected.arm(entry.cls, entry.sub, entry.kind(form), entry.replyFraming);
        return;
    }
    expected.kind = entry.kind(form);
    expected.mode = entry.replyFraming;
}

// Builds the dollar command of the row's class and sub and arms expected for its reply.
// Returns the frame's length.
inline std::size_t buildArmedDollar(Bytes& out, ExpectedReply& expected, CommandId id,
                                    std::span<const Byte> payload = {}, std::size_t form = 0) {
    const CommandRow& entry = CommandTable::row(id);
    armFor(expected, entry, form);
    return CommandFrame::build(out, entry.cls, entry.sub, payload);
}

// The same, for a command whose whole payload is the one byte of its form.
inline std::size_t buildArmedDollarCode(Bytes& out, ExpectedReply& expected, CommandId id,
                                        std::size_t form = 0) {
    const std::array<Byte, 1> payload = {CommandTable::row(id).variant(form).code};
    return buildArmedDollar(out, expected, id, payload, form);
}

} // namespace kestrava
