#include "emulator/InMemoryLink.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

// Feeds arbitrary host bytes to the emulator in pieces and drains its output. Byte 0 chooses the
// profile and the piece size, byte 1 whether the loader and the radio are engaged first. Any
// crash, sanitizer report or runaway output is a failure.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrava;
    using namespace std::chrono_literals;
    if (size < 2) {
        return 0;
    }
    ReceiverProfile profile;
    profile.board = (data[0] & 1) ? BoardKind::Text : BoardKind::Packet;
    profile.hardwareCode = (data[0] & 2) ? 88 : 98;
    profile.fastFirmware = (data[0] & 4) != 0;
    profile.files = ReceiverProfile::generatedFiles(12);
    profile.downloadBlockSize = 2 + (data[0] >> 3) * 97u;
    InMemoryLink link(profile);
    if (data[1] & 1) {
        const Bytes start = {0x24, 0x24, 0x56, 0x53, 0x01, 0x00, 0x01, 0x05, 0x0D, 0x0A};
        link.write(start);
    }
    if (data[1] & 2) {
        const Bytes connect = {0x24, 0x24, 0x47, 0x51, 0x01, 0x00, 0x0A, 0x1D, 0x0D, 0x0A};
        link.write(connect);
    }
    const std::size_t piece = 1 + (data[1] >> 2);
    std::size_t total = 0;
    for (std::size_t at = 2; at < size; at += piece) {
        link.write(std::span<const Byte>(data + at, std::min(piece, size - at)));
        total += link.readFor(5ms).size();
    }
    total += link.readFor(3s).size();
    // Each command is answered at most once, and no answer exceeds one download block or the
    // NMEA and signal-test lines of a few seconds.
    if (total > 64 * 1024 + 64 * size) {
        std::abort();
    }
    return 0;
}
