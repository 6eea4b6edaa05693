#pragma once

#include "emulator/FaultPlan.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>

namespace kestrava {

// The receiver's firmware loader. A handshake names the target (0 module, 1 receiver) and is
// answered with the loader's hardware code and speed; then each data block is checked for its
// layout, its checksum and its place in the sequence, and answered with an acknowledgement that
// echoes the accepted block's address, or with a refusal. Accepted data is kept, in order, so that
// the received image can be compared with the file that was sent.
class FirmwareLoader {
public:
    static constexpr std::uint32_t kReceiverBase = 0x40008000u;
    static constexpr Byte kRefusedLayout = 1;  // length, checksum or block number wrong
    static constexpr Byte kRefusedAddress = 2; // address outside the image being written

    FirmwareLoader(int hardwareCode, bool fast, FaultPlan& faults);

    // Answers a 10-byte "$$VS" handshake; starts a new image. An empty result means ignored.
    Bytes handshake(const Bytes& frame);
    // Answers one "$$VX" block of blockFrameSize() bytes.
    Bytes block(const Bytes& frame);

    // Frame size of a data block in the layout chosen by the handshake; 0 before it.
    std::size_t blockFrameSize() const;
    bool fast() const { return m_fast; }
    bool active() const { return m_active; }

    const Bytes& image() const { return m_image; }
    Byte target() const { return m_target; }
    std::uint32_t baseAddress() const { return m_target == 1 ? kReceiverBase : 0u; }
    std::uint32_t blocksAccepted() const { return m_blocks; }
    std::uint32_t refusals() const { return m_refusals; }

private:
    Bytes answer(Byte status, std::uint32_t address) const;

    int m_hardwareCode;
    bool m_fast;
    FaultPlan& m_faults;
    bool m_active = false;
    Byte m_target = 0;
    Bytes m_image;
    std::uint32_t m_blocks = 0;
    std::uint32_t m_refusals = 0;
};

} // namespace kestrava
