#include "cli/HexText.h"

namespace kestrava {
namespace {

int nibble(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string HexText::format(std::span<const Byte> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (Byte b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

std::optional<Bytes> HexText::parse(const std::vector<std::string>& arguments, std::string& error) {
    // A quoted argument may hold several tokens separated by white space.
    std::vector<std::string> tokens;
    for (const std::string& argument : arguments) {
        std::size_t start = 0;
        while (start < argument.size()) {
            const auto begin = argument.find_first_not_of(" \t\r\n", start);
            if (begin == std::string::npos) {
                break;
            }
            const auto end = argument.find_first_of(" \t\r\n", begin);
            tokens.push_back(argument.substr(begin, end == std::string::npos ? end : end - begin));
            start = end == std::string::npos ? argument.size() : end;
        }
    }
    Bytes bytes;
    for (const std::string& token : tokens) {
        std::string digits;
        std::string_view rest(token);
        if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
            rest.remove_prefix(2);
        }
        for (char c : rest) {
            if (c == ':' || c == ',' || c == '-') {
                continue;
            }
            digits += c;
        }
        if (digits.empty() || digits.size() % 2 != 0) {
            error = "malformed hex \"" + token + "\": expected whole bytes of two hex digits";
            return std::nullopt;
        }
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            const int high = nibble(digits[i]);
            const int low = nibble(digits[i + 1]);
            if (high < 0 || low < 0) {
                error = "malformed hex \"" + token + "\": '" +
                        std::string(1, high < 0 ? digits[i] : digits[i + 1]) +
                        "' is not a hex digit";
                return std::nullopt;
            }
            bytes.push_back(static_cast<Byte>(high * 16 + low));
        }
    }
    return bytes;
}

} // namespace kestrava
