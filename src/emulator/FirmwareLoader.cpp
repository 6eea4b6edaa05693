#include "emulator/FirmwareLoader.h"

#include "protocol/Checksums.h"

namespace kestrava {

namespace {

std::uint32_t bigEndian(const Bytes& b, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | b[at + i];
    }
    return value;
}

Byte xorOf(const Bytes& b, std::size_t at, std::size_t count) {
    Byte x = 0;
    for (std::size_t i = 0; i < count; ++i) {
        x ^= b[at + i];
    }
    return x;
}

} // namespace

FirmwareLoader::FirmwareLoader(int hardwareCode, bool fast, FaultPlan& faults)
    : m_hardwareCode(hardwareCode), m_fast(fast), m_faults(faults) {}

std::size_t FirmwareLoader::blockFrameSize() const {
    if (!m_active) {
        return 0;
    }
    if (m_fast) {
        return 521;
    }
    return m_hardwareCode == 88 ? 137 : 267;
}

Bytes FirmwareLoader::handshake(const Bytes& frame) {
    // 24 24 56 53 01 x target checksum 0D 0A; the checksum covers bytes 2 to 6.
    if (frame.size() < 10 || frame[4] != 0x01 || frame[6] > 1 ||
        DollarChecksum(frame.data(), 2, 6) != frame[7]) {
        return {};
    }
    m_active = true;
    m_target = frame[6];
    m_image.clear();
    m_blocks = 0;
    m_refusals = 0;
    Bytes reply = {0x24, 0x24,
                   'V',  'S',
                   0x01, static_cast<Byte>(m_hardwareCode),
                   0x00, static_cast<Byte>(m_fast ? 1 : 0)};
    reply.push_back(DollarChecksum(reply.data(), 2, reply.size() - 1));
    reply.push_back(0x0D);
    reply.push_back(0x0A);
    return reply;
}

Bytes FirmwareLoader::answer(Byte status, std::uint32_t address) const {
    // 24 24 56 58 01 status address(4, big-endian) checksum 0D 0A
    Bytes reply = {0x24,
                   0x24,
                   'V',
                   'X',
                   0x01,
                   status,
                   static_cast<Byte>(address >> 24),
                   static_cast<Byte>(address >> 16),
                   static_cast<Byte>(address >> 8),
                   static_cast<Byte>(address)};
    reply.push_back(DollarChecksum(reply.data(), 2, reply.size() - 1));
    reply.push_back(0x0D);
    reply.push_back(0x0A);
    return reply;
}

Bytes FirmwareLoader::block(const Bytes& frame) {
    if (!m_active || frame.size() != blockFrameSize()) {
        return {};
    }
    const std::uint32_t expected = baseAddress() + static_cast<std::uint32_t>(m_image.size());
    std::size_t length = 0;
    std::size_t dataAt = 0;
    std::size_t area = 0;
    bool layoutOk = true;
    bool inSequence = true;
    std::uint32_t address = expected;
    if (m_fast) {
        length = bigEndian(frame, 4, 2);
        dataAt = 8;
        area = 512;
        layoutOk = xorOf(frame, dataAt, area) == frame[520];
        inSequence = bigEndian(frame, 6, 2) == (m_blocks & 0xFFFFu);
    } else if (m_hardwareCode == 88) {
        length = frame[4];
        address = bigEndian(frame, 5, 4);
        dataAt = 9;
        area = 128;
    } else {
        length = bigEndian(frame, 4, 2);
        address = bigEndian(frame, 6, 4);
        dataAt = 10;
        area = 256;
        layoutOk = xorOf(frame, dataAt, area) == frame[266];
    }
    layoutOk = layoutOk && length > 0 && length <= area && length % 4 == 0;
    if (!m_fast) {
        inSequence = address == expected;
    }

    const auto blockNumber = static_cast<std::int32_t>(m_blocks);
    if (m_faults.firmwareRefusals > 0 && blockNumber >= m_faults.firmwareRefusalBlock) {
        --m_faults.firmwareRefusals;
        ++m_refusals;
        return answer(m_faults.firmwareRefusalStatus, address);
    }
    if (blockNumber == m_faults.firmwareFailBlock) {
        m_faults.firmwareFailBlock = -1;
        return answer(m_faults.firmwareFailStatus, address);
    }
    if (!layoutOk || !inSequence) {
        ++m_refusals;
        return answer(layoutOk ? kRefusedAddress : kRefusedLayout, address);
    }
    m_image.insert(m_image.end(), frame.begin() + static_cast<std::ptrdiff_t>(dataAt),
                   frame.begin() + static_cast<std::ptrdiff_t>(dataAt + length));
    ++m_blocks;
    if (blockNumber == m_faults.firmwareWrongAddressBlock) {
        m_faults.firmwareWrongAddressBlock = -1;
        return answer(0, expected + 0x100u);
    }
    return answer(0, expected);
}

} // namespace kestrava
