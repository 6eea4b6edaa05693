#pragma once

#include "protocol/ProtocolTypes.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava {

// Hexadecimal text for the command line: bytes in, "24 24 56" out, and back.
class HexText {
public:
    // Space-separated two-digit lower-case hex ("24 24 56 43").
    static std::string format(std::span<const Byte> bytes);

    // Parses tokens such as "24", "0x24", "2424564300" or "24:24", separated by white space
    // within an argument too; each token holds whole bytes.
    // Returns nothing and sets error to a message naming the bad token when one is malformed.
    static std::optional<Bytes> parse(const std::vector<std::string>& tokens, std::string& error);
};

} // namespace kestrava
