#include "ntrip/StationPosition.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrava {
namespace {

constexpr double kA = 6378137.0;           // WGS 84 semi-major axis
constexpr double kF = 1.0 / 298.257223563; // flattening
constexpr double kE2 = kF * (2.0 - kF);    // first eccentricity squared
constexpr double kMeanRadius = 6371008.8;  // metres
constexpr double kUnit = 0.0001;           // metres per step of DF025..DF028
constexpr double kDegree = std::numbers::pi / 180.0;

class BitReader {
public:
    BitReader(const std::uint8_t* bytes, std::size_t size) : m_bytes(bytes), m_bits(size * 8) {}
    bool has(std::size_t bits) const { return m_at + bits <= m_bits; }
    std::uint64_t take(std::size_t bits) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bits; ++i, ++m_at) {
            value = (value << 1) | ((m_bytes[m_at / 8] >> (7 - m_at % 8)) & 1u);
        }
        return value;
    }
    std::int64_t takeSigned(std::size_t bits) {
        const std::uint64_t raw = take(bits);
        const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
        return static_cast<std::int64_t>(raw ^ sign) - static_cast<std::int64_t>(sign);
    }

private:
    const std::uint8_t* m_bytes;
    std::size_t m_bits;
    std::size_t m_at = 0;
};

class BitWriter {
public:
    void put(std::uint64_t value, std::size_t bits) {
        for (std::size_t i = bits; i-- > 0;) {
            if (m_at % 8 == 0) {
                m_bytes.push_back(0);
            }
            if (((value >> i) & 1u) != 0) {
                m_bytes.back() = static_cast<std::uint8_t>(m_bytes.back() | (0x80u >> (m_at % 8)));
            }
            ++m_at;
        }
    }
    void putSigned(std::int64_t value, std::size_t bits) {
        put(static_cast<std::uint64_t>(value) & ((std::uint64_t{1} << bits) - 1), bits);
    }
    std::vector<std::uint8_t> bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

} // namespace

std::optional<StationPosition> StationPosition::decode(const std::uint8_t* payload,
                                                       std::size_t size) {
    BitReader bits(payload, size);
    if (!bits.has(152)) {
        return std::nullopt;
    }
    const auto number = static_cast<int>(bits.take(12));
    if (number != 1005 && number != 1006) {
        return std::nullopt;
    }
    StationPosition station;
    station.stationId = static_cast<int>(bits.take(12));
    bits.take(6 + 4); // ITRF year; GPS, GLONASS, Galileo and reference-station indicators
    station.x = static_cast<double>(bits.takeSigned(38)) * kUnit;
    bits.take(2); // single receiver oscillator, reserved
    station.y = static_cast<double>(bits.takeSigned(38)) * kUnit;
    bits.take(2); // quarter cycle indicator
    station.z = static_cast<double>(bits.takeSigned(38)) * kUnit;
    if (number == 1006) {
        if (!bits.has(16)) {
            return std::nullopt;
        }
        station.antennaHeight = static_cast<double>(bits.take(16)) * kUnit;
    }
    return station;
}

std::vector<std::uint8_t> StationPosition::encode(bool withHeight) const {
    BitWriter bits;
    bits.put(withHeight ? 1006 : 1005, 12);
    bits.put(static_cast<std::uint64_t>(stationId) & 0xFFFu, 12);
    bits.put(0, 6);
    bits.put(0b1001, 4); // GPS, reference station
    bits.putSigned(std::llround(x / kUnit), 38);
    bits.put(0, 2);
    bits.putSigned(std::llround(y / kUnit), 38);
    bits.put(0, 2);
    bits.putSigned(std::llround(z / kUnit), 38);
    if (withHeight) {
        bits.put(static_cast<std::uint64_t>(std::llround(antennaHeight / kUnit)) & 0xFFFFu, 16);
    }
    return bits.bytes();
}

GeodeticPosition StationPosition::geodetic() const {
    const double p = std::hypot(x, y);
    GeodeticPosition out;
    out.longitude = std::atan2(y, x) / kDegree;
    if (p < 1e-9) { // on the axis
        out.latitude = z >= 0 ? 90.0 : -90.0;
        out.height = std::fabs(z) - kA * std::sqrt(1.0 - kE2);
        return out;
    }
    double latitude = std::atan2(z, p * (1.0 - kE2));
    double height = 0;
    for (int i = 0; i < 10; ++i) {
        const double sine = std::sin(latitude);
        const double n = kA / std::sqrt(1.0 - kE2 * sine * sine);
        height = p / std::cos(latitude) - n;
        latitude = std::atan2(z, p * (1.0 - kE2 * n / (n + height)));
    }
    out.latitude = latitude / kDegree;
    out.height = height;
    return out;
}

StationPosition StationPosition::fromGeodetic(const GeodeticPosition& position, int stationId) {
    const double latitude = position.latitude * kDegree;
    const double longitude = position.longitude * kDegree;
    const double sine = std::sin(latitude);
    const double n = kA / std::sqrt(1.0 - kE2 * sine * sine);
    StationPosition station;
    station.stationId = stationId;
    station.x = (n + position.height) * std::cos(latitude) * std::cos(longitude);
    station.y = (n + position.height) * std::cos(latitude) * std::sin(longitude);
    station.z = (n * (1.0 - kE2) + position.height) * sine;
    return station;
}

double StationPosition::distance(const GeodeticPosition& a, const GeodeticPosition& b) {
    const double la = a.latitude * kDegree;
    const double lb = b.latitude * kDegree;
    const double dLat = lb - la;
    const double dLon = (b.longitude - a.longitude) * kDegree;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(la) * std::cos(lb) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * kMeanRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

} // namespace kestrava
