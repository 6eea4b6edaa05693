#pragma once

#include "protocol/FieldReader.h"
#include "protocol/MainInfoRecord.h"

#include <cstddef>

namespace kestrava {

// The receiver's main information from the payload of a 'V','C' reply.
class MainInfoDecoder {
public:
    // A payload must reach at least the S flag (byte 21) to be decoded: below that the record
    // would lack the motherboard code and the flags that decide what is read next. The module
    // versions (bytes 37 and 38) stay empty when the payload does not reach them.
    static constexpr std::size_t kMinPayload = 22;
    // A payload of this size carries every field.
    static constexpr std::size_t kFullPayload = 39;

    // Fills record; false (record untouched) when the payload is shorter than kMinPayload.
    static bool decode(const FieldReader& payload, MainInfoRecord& record);

    // "%.1f" of value / 10 (25 gives "2.5").
    static ByteString tenths(Byte value);
};

} // namespace kestrava
