#pragma once

#include "emulator/HostCommand.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <optional>
#include <span>

namespace kestrava {

// Cuts the host's byte stream into commands. A command may arrive in pieces and several may
// arrive in one piece; bytes that start no known command (padding zeros after a frame, line
// noise) are skipped one at a time so that the next real command is found again.
class CommandAssembler {
public:
    // Largest dollar frame accepted; a length field beyond it is taken for noise, so that one
    // corrupt header cannot make the receiver wait for 64 KiB that never come.
    static constexpr std::size_t kMaxDollarFrame = 4096;
    static constexpr std::size_t kMaxTextLine = 512;

    // The size of a "$$VX" frame in the loader's current layout; 0 while no handshake has
    // chosen one (such frames are then skipped).
    void setFirmwareBlockSize(std::size_t frameSize) { m_blockSize = frameSize; }

    void append(std::span<const Byte> bytes);
    // The next complete command, or nothing while the buffered bytes hold none.
    std::optional<HostCommand> next();
    // Forgets a partly received command (the line was quiet too long).
    void discardPartial();

    bool hasPartial() const { return !m_buffer.empty(); }
    // Stream offset of the first buffered byte: bytes consumed so far.
    std::size_t consumed() const { return m_consumed; }
    std::size_t buffered() const { return m_buffer.size(); }

private:
    std::optional<HostCommand> take(HostCommand::Type type, std::size_t length);
    void skip(std::size_t count);

    Bytes m_buffer;
    std::size_t m_consumed = 0;
    std::size_t m_blockSize = 0;
};

} // namespace kestrava
