#include "ntrip/Rtcm3Framer.h"
#include "ntrip/StationPosition.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Frames arbitrary bytes as an RTCM 3 stream, once whole and once a byte at a time: both must
// find the same frames, every frame fits the largest payload, and every byte is either in a
// frame or skipped, never both.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrava;
    std::size_t framed = 0;
    std::size_t sum = 0;
    Rtcm3Framer whole([&](const std::uint8_t* payload, std::size_t length) {
        if (length > Rtcm3Framer::kMaxPayload) {
            std::abort();
        }
        framed += length + 6;
        sum += static_cast<std::size_t>(Rtcm3Framer::messageNumber(payload, length));
        (void)StationPosition::decode(payload, length);
    });
    whole.feed(data, size);
    std::size_t bytewiseSum = 0;
    Rtcm3Framer bytewise([&](const std::uint8_t* payload, std::size_t length) {
        bytewiseSum += static_cast<std::size_t>(Rtcm3Framer::messageNumber(payload, length));
    });
    for (std::size_t i = 0; i < size; ++i) {
        bytewise.feed(data + i, 1);
    }
    if (whole.validFrames() != bytewise.validFrames() || sum != bytewiseSum ||
        framed + whole.skippedBytes() > size) {
        std::abort();
    }
    return 0;
}
