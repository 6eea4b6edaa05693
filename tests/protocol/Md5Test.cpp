#include "protocol/Md5.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrava {
namespace {

TEST(Md5, matchesTheTestSuiteOfTheStandard) {
    struct Vector {
        std::string message;
        std::string digest;
    };
    const std::vector<Vector> vectors = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
         "0",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& v : vectors) {
        EXPECT_EQ(Md5::hexDigest(v.message), v.digest) << "message \"" << v.message << "\"";
    }
}

TEST(Md5, padsCorrectlyAroundTheBlockBoundaries) {
    // Lengths 55, 56 and 64 move the length field into a second padding block or a new block.
    struct Vector {
        std::size_t length;
        std::string digest;
    };
    const std::vector<Vector> vectors = {
        {55, "ef1772b6dff9a122358552954ad0df65"}, {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"}, {64, "014842d480b571495a4a0363793f7367"},
        {65, "c743a45e0d2e6a95cb859adae0248435"},
    };
    for (const auto& v : vectors) {
        EXPECT_EQ(Md5::hexDigest(std::string(v.length, 'a')), v.digest) << "length " << v.length;
    }
}

TEST(Md5, hashesBytesAboveSevenBitsAsUnsigned) {
    EXPECT_EQ(Md5::hexDigest(std::string("\xFF")), "00594fd4f42ba43fc1ca0427a0576295");
}

} // namespace
} // namespace kestrava
