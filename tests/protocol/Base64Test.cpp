#include "protocol/Base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrava {
namespace {

struct Vector {
    std::string plain;
    std::string encoded;
};

// RFC 4648, section 10, plus bytes that use '+' and '/' and bytes above 0x7F.
const std::vector<Vector> kVectors = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
    {"\xFB\xFF", "+/8="},
    {"user:pass", "dXNlcjpwYXNz"},
};

TEST(Base64Encode, matchesTheStandardVectors) {
    for (const auto& v : kVectors) {
        EXPECT_EQ(Base64::encode(v.plain), v.encoded) << "plain \"" << v.plain << "\"";
    }
}

TEST(Base64Decode, reversesTheStandardVectors) {
    for (const auto& v : kVectors) {
        EXPECT_EQ(Base64::decode(v.encoded), v.plain) << "encoded \"" << v.encoded << "\"";
    }
}

TEST(Base64Decode, handlesTheLenientCasesOfAZeroPaddedLoginField) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string text;
        std::string decoded;
    };
    const std::vector<Case> cases = {
        // A field shorter than one group holds nothing; the group count must not wrap around.
        {"empty text", "", ""},
        {"one character", "Z", ""},
        {"three characters", "Zm9", ""},
        // Characters that do not fill a last group are ignored.
        {"partial last group", "Zm9vZm", "foo"},
        // Zero padding counts as the value 0 and ends the text.
        {"zero-padded field", "dXNlcjpwYXNz\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"s, "user:pass"},
        {"field full of zeros", std::string(30, '\0'), ""},
        // A character outside the alphabet counts as 0 where it stands.
        {"0xFF in a group", "Zm9v\xFF\xFF\xFF\xFF", "foo"},
        {"control byte inside a group", "Zm9v\x01m9v", "foo\x02oo"},
        // The output ends at its first zero byte, even when later groups hold text.
        {"text after an encoded zero", "AAAAZm9v", ""},
        {"'=' completes a byte as 0", "Zg==Zm9v", "f"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64::decode(c.text), c.decoded) << c.what;
    }
}

TEST(Base64Decode, roundTripsEveryByteValueExceptZero) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    for (std::size_t length = 0; length <= all.size(); length += 17) {
        const std::string part = all.substr(0, length);
        EXPECT_EQ(Base64::decode(Base64::encode(part)), part) << "length " << length;
    }
}

} // namespace
} // namespace kestrava
