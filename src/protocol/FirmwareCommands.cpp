#include "protocol/FirmwareCommands.h"

#include "protocol/BuilderSupport.h"
#include "protocol/Checksums.h"

#include <algorithm>

namespace kestrava {

namespace {

constexpr Byte kTargetReceiver = 1;
constexpr Byte kRepeatMarker = 0x31;

struct LayoutShape {
    std::size_t dataOffset;
    std::size_t capacity;
    bool checksum;
};

LayoutShape shapeOf(FirmwareLayout layout) {
    switch (layout) {
    case FirmwareLayout::Large:
        return {8, 512, true};
    case FirmwareLayout::Small88:
        return {9, 128, false};
    case FirmwareLayout::Small98:
        break;
    }
    return {10, 256, true};
}

void putBigEndian16(Bytes& out, std::size_t offset, std::uint32_t value) {
    out[offset] = static_cast<Byte>((value >> 8) & 0xFFu);
    out[offset + 1] = static_cast<Byte>(value & 0xFFu);
}

void putBigEndian32(Bytes& out, std::size_t offset, std::uint32_t value) {
    putBigEndian16(out, offset, value >> 16);
    putBigEndian16(out, offset + 2, value & 0xFFFFu);
}

} // namespace

std::size_t FirmwareStart(Bytes& out, ExpectedReply& expected, Byte target, bool repeat) {
    const Byte marker = (repeat && target == kTargetReceiver) ? kRepeatMarker : 0x00;
    const CommandRow& entry = CommandTable::row(CommandId::FirmwareStart);
    out.assign({0x24, 0x24, entry.cls, entry.sub, 0x01, marker, target});
    out.push_back(DollarChecksum(out.data(), 2, out.size() - 1));
    out.push_back(0x0D);
    out.push_back(0x0A);
    armFor(expected, entry);
    return out.size();
}

std::size_t firmwareBlockCapacity(FirmwareLayout layout) {
    return shapeOf(layout).capacity;
}

std::optional<FirmwareLayout> firmwareLayoutFor(std::int32_t hardwareCode, bool fast) {
    if (hardwareCode != 88 && hardwareCode != 98) {
        return std::nullopt;
    }
    if (fast) {
        return FirmwareLayout::Large;
    }
    return hardwareCode == 88 ? FirmwareLayout::Small88 : FirmwareLayout::Small98;
}

std::size_t FirmwareBlock(Bytes& out, ExpectedReply& expected, DecoderState& state,
                          FirmwareLayout layout, std::span<const Byte> data,
                          std::uint32_t position) {
    const LayoutShape shape = shapeOf(layout);
    const std::size_t used = std::min(data.size(), shape.capacity);
    // Never above the capacity: every capacity is a multiple of 4.
    const std::size_t count = (used + 3) / 4 * 4;

    const std::size_t frameSize = shape.dataOffset + shape.capacity + (shape.checksum ? 1 : 0);
    out.assign(frameSize, 0x00);
    out[0] = 0x24;
    out[1] = 0x24;
    const CommandRow& entry = CommandTable::row(CommandId::FirmwareBlock);
    out[2] = entry.cls;
    out[3] = entry.sub;
    switch (layout) {
    case FirmwareLayout::Large:
        putBigEndian16(out, 4, static_cast<std::uint32_t>(count));
        putBigEndian16(out, 6, position & 0xFFFFu);
        break;
    case FirmwareLayout::Small88:
        out[4] = static_cast<Byte>(count);
        putBigEndian32(out, 5, position);
        break;
    case FirmwareLayout::Small98:
        putBigEndian16(out, 4, static_cast<std::uint32_t>(count));
        putBigEndian32(out, 6, position);
        break;
    }
    std::copy_n(data.begin(), used, out.begin() + static_cast<std::ptrdiff_t>(shape.dataOffset));
    if (shape.checksum) {
        out[frameSize - 1] = RadioChecksum(out.data() + shape.dataOffset, shape.capacity);
    }
    state.firmwareLastLength = static_cast<std::uint32_t>(count);
    armFor(expected, entry);
    return out.size();
}

} // namespace kestrava
