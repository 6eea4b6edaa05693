#pragma once

#include "protocol/ChannelTable.h"
#include "protocol/FileListRow.h"
#include "protocol/MainInfoRecord.h"
#include "protocol/NetParams.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

namespace kestrava {

struct IntPair {
    std::int32_t first = 0;
    std::int32_t second = 0;
    bool operator==(const IntPair&) const = default;
};

struct BytePair {
    Byte first = 0;
    Byte second = 0;
    bool operator==(const BytePair&) const = default;
};

struct TextPair {
    ByteString first;
    ByteString second;
    bool operator==(const TextPair&) const = default;
};

struct TextTriple {
    ByteString first;
    ByteString second;
    ByteString third;
    bool operator==(const TextTriple&) const = default;
};

// A download data block: the whole reply frame and its payload length (payload at offset 6).
struct DownloadBlock {
    const Byte* frame = nullptr;
    std::size_t payloadLength = 0;
    std::span<const Byte> payload() const { return {frame + 6, payloadLength}; }
};

// The data of one delivered reply. Which alternative a kind carries:
//   std::int32_t      every kind that carries a number or 0
//   MainInfoRecord*   1      ChannelTable* 3       IntPair 7 (bands), 12 (interval, cut-off)
//   TextTriple*       9 {serial, type text, version}, 10 {serial, model, software version}
//   FileListRow span  15     NetParams*    20      TextPair* 22 {user, password}, 38 {prefix,
//   serial} DownloadBlock     26     BytePair      44 {voice type, volume}
// Pointers and spans point at data owned by the decoder: valid only during the delivery.
using ReplyData = std::variant<std::int32_t, const MainInfoRecord*, const ChannelTable*, IntPair,
                               BytePair, const TextPair*, const TextTriple*,
                               std::span<const FileListRow>, const NetParams*, DownloadBlock>;

} // namespace kestrava
