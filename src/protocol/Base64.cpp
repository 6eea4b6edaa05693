#include "protocol/Base64.h"

#include <array>

namespace kestrava {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of one character in the decoder: its place in the alphabet, 0 for '=' and for anything
// outside the alphabet.
constexpr std::array<Byte, 256> kDecodeTable = [] {
    std::array<Byte, 256> table{};
    for (std::size_t i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<Byte>(i);
    }
    return table;
}();

std::span<const Byte> asBytes(std::string_view text) {
    return {reinterpret_cast<const Byte*>(text.data()), text.size()};
}

} // namespace

ByteString Base64::encode(std::span<const Byte> data) {
    ByteString out;
    out.reserve((data.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= data.size(); i += 3) {
        const unsigned group =
            (unsigned{data[i]} << 16) | (unsigned{data[i + 1]} << 8) | unsigned{data[i + 2]};
        out.push_back(kAlphabet[(group >> 18) & 0x3F]);
        out.push_back(kAlphabet[(group >> 12) & 0x3F]);
        out.push_back(kAlphabet[(group >> 6) & 0x3F]);
        out.push_back(kAlphabet[group & 0x3F]);
    }
    const std::size_t rest = data.size() - i;
    if (rest == 1) {
        const unsigned group = unsigned{data[i]} << 16;
        out.push_back(kAlphabet[(group >> 18) & 0x3F]);
        out.push_back(kAlphabet[(group >> 12) & 0x3F]);
        out += "==";
    } else if (rest == 2) {
        const unsigned group = (unsigned{data[i]} << 16) | (unsigned{data[i + 1]} << 8);
        out.push_back(kAlphabet[(group >> 18) & 0x3F]);
        out.push_back(kAlphabet[(group >> 12) & 0x3F]);
        out.push_back(kAlphabet[(group >> 6) & 0x3F]);
        out.push_back('=');
    }
    return out;
}

ByteString Base64::encode(std::string_view text) {
    return encode(asBytes(text));
}

ByteString Base64::decode(std::span<const Byte> text) {
    ByteString out;
    // (length - 4) / 4 + 1 whole groups; written as length / 4 so that a text of fewer than
    // four characters gives no group instead of an unsigned wrap-around.
    const std::size_t groups = text.size() / 4;
    out.reserve(groups * 3);
    for (std::size_t g = 0; g < groups; ++g) {
        const Byte* c = text.data() + 4 * g;
        const unsigned group = (unsigned{kDecodeTable[c[0]]} << 18) |
                               (unsigned{kDecodeTable[c[1]]} << 12) |
                               (unsigned{kDecodeTable[c[2]]} << 6) | unsigned{kDecodeTable[c[3]]};
        const std::array<char, 3> bytes = {static_cast<char>((group >> 16) & 0xFF),
                                           static_cast<char>((group >> 8) & 0xFF),
                                           static_cast<char>(group & 0xFF)};
        for (const char b : bytes) {
            if (b == '\0') {
                return out;
            }
            out.push_back(b);
        }
    }
    return out;
}

ByteString Base64::decode(std::string_view text) {
    return decode(asBytes(text));
}

} // namespace kestrava
