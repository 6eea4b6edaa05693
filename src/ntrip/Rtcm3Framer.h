#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrava {

// Finds RTCM 3 frames in a byte stream as it arrives in pieces: 0xD3, six zero bits, a 10-bit
// payload length, the payload and its CRC-24Q. A frame whose CRC does not match is counted and
// the search goes on from the byte after its 0xD3, so a stream can be joined at any point.
class Rtcm3Framer {
public:
    static constexpr std::uint8_t kPreamble = 0xD3;
    static constexpr std::size_t kMaxPayload = 1023;

    // Called with each valid frame's payload; its first 12 bits are the message number.
    using FrameHandler = std::function<void(const std::uint8_t* payload, std::size_t size)>;

    explicit Rtcm3Framer(FrameHandler handler);

    void feed(const std::uint8_t* bytes, std::size_t count);

    std::size_t validFrames() const { return m_valid; }
    std::size_t badFrames() const { return m_bad; }
    // Bytes that belonged to no valid frame.
    std::size_t skippedBytes() const { return m_skipped; }

    // The message number of a payload (0 for one shorter than two bytes).
    static int messageNumber(const std::uint8_t* payload, std::size_t size);

    // A complete frame around payload (for tests and the emulator's casters).
    static std::vector<std::uint8_t> frame(const std::vector<std::uint8_t>& payload);

private:
    void scan();

    FrameHandler m_handler;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_valid = 0;
    std::size_t m_bad = 0;
    std::size_t m_skipped = 0;
};

} // namespace kestrava
