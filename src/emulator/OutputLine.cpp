#include "emulator/OutputLine.h"

#include <algorithm>

namespace kestrava {

SimTime OutputLine::byteTime() const {
    if (!m_pacing) {
        return SimTime{0};
    }
    return SimTime{(10'000'000 + m_baud - 1) / m_baud};
}

void OutputLine::queue(SimTime start, Bytes bytes) {
    if (bytes.empty()) {
        return;
    }
    const auto at = std::upper_bound(m_bursts.begin(), m_bursts.end(), start,
                                     [](SimTime s, const Burst& b) { return s < b.start; });
    // A burst already on the line keeps its place.
    auto position = at;
    if (position == m_bursts.begin() && !m_bursts.empty() && m_bursts.front().begun) {
        ++position;
    }
    m_bursts.insert(position, Burst{start, std::move(bytes), 0, std::nullopt});
}

SimTime OutputLine::dueOf(const Burst& burst, std::size_t index) const {
    const SimTime begin = burst.begun ? *burst.begun : std::max(burst.start, m_lineFree);
    return begin + byteTime() * static_cast<long>(index + 1);
}

Bytes OutputLine::takeDue(SimTime now) {
    Bytes out;
    while (!m_bursts.empty()) {
        Burst& burst = m_bursts.front();
        if (!m_pacing) {
            if (burst.start > now) {
                break;
            }
            out.insert(out.end(), burst.bytes.begin(), burst.bytes.end());
            m_bursts.pop_front();
            continue;
        }
        if (!burst.begun) {
            if (std::max(burst.start, m_lineFree) > now) {
                break;
            }
            burst.begun = std::max(burst.start, m_lineFree);
        }
        while (burst.sent < burst.bytes.size() && dueOf(burst, burst.sent) <= now) {
            out.push_back(burst.bytes[burst.sent]);
            ++burst.sent;
        }
        if (burst.sent < burst.bytes.size()) {
            break;
        }
        m_lineFree = dueOf(burst, burst.bytes.size() - 1);
        m_bursts.pop_front();
    }
    return out;
}

std::optional<SimTime> OutputLine::nextDue() const {
    if (m_bursts.empty()) {
        return std::nullopt;
    }
    const Burst& burst = m_bursts.front();
    if (!m_pacing) {
        return burst.start;
    }
    return dueOf(burst, burst.sent);
}

} // namespace kestrava
