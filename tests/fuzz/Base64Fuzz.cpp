#include "protocol/Base64.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

// Decodes arbitrary bytes as a received login field, and checks that encoding then decoding
// gives the input back up to its first zero byte.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kestrava::Base64;
    const std::span<const std::uint8_t> input(data, size);
    const std::string decoded = Base64::decode(input);
    if (decoded.size() > size / 4 * 3 || decoded.find('\0') != std::string::npos) {
        std::abort();
    }

    const std::string plain(reinterpret_cast<const char*>(data), size);
    const std::string encoded = Base64::encode(input);
    if (encoded.size() != (size + 2) / 3 * 4) {
        std::abort();
    }
    if (Base64::decode(encoded) != plain.substr(0, plain.find('\0'))) {
        std::abort();
    }
    return 0;
}
