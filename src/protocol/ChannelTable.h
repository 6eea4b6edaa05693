#pragma once

#include <array>

namespace kestrava {

// One channel of the internal UHF radio, frequencies in MHz.
struct ChannelPair {
    float transmit = 0.0f;
    float receive = 0.0f;

    bool operator==(const ChannelPair&) const = default;
};

// The radio's 16-channel frequency table.
using ChannelTable = std::array<ChannelPair, 16>;

} // namespace kestrava
