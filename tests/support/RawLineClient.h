#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrava::test {

// The host end of a serial line, opened by path with plain POSIX termios: raw, 8N1, 19200 baud.
// Reads gather bytes the way a serial reader does, until the line has been quiet.
class RawLineClient {
public:
    explicit RawLineClient(const std::string& path);
    ~RawLineClient();
    RawLineClient(const RawLineClient&) = delete;
    RawLineClient& operator=(const RawLineClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool write(const std::vector<std::uint8_t>& bytes);
    // Waits up to limit for the first byte, then reads until nothing came for quiet.
    std::vector<std::uint8_t>
    readChunk(std::chrono::milliseconds quiet = std::chrono::milliseconds(60),
              std::chrono::milliseconds limit = std::chrono::milliseconds(3000));
    // Everything that arrives within span.
    std::vector<std::uint8_t> readFor(std::chrono::milliseconds span);
    // write, then readChunk.
    std::vector<std::uint8_t> exchange(const std::vector<std::uint8_t>& bytes) {
        return write(bytes) ? readChunk() : std::vector<std::uint8_t>{};
    }

private:
    int m_fd = -1;
};

} // namespace kestrava::test
