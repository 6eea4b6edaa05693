#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrava {

// A place on the WGS 84 ellipsoid.
struct GeodeticPosition {
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive
    double height = 0;    // metres above the ellipsoid
};

// The reference station of an RTCM 3 stream, from its message 1005 or 1006.
struct StationPosition {
    int stationId = 0;
    double x = 0; // ECEF metres
    double y = 0;
    double z = 0;
    double antennaHeight = 0; // 1006 only

    // Decodes a 1005 or 1006 payload (the frame's contents without header and CRC).
    static std::optional<StationPosition> decode(const std::uint8_t* payload, std::size_t size);
    // The payload of a 1005 (or, with an antenna height, a 1006) for this station.
    std::vector<std::uint8_t> encode(bool withHeight) const;

    GeodeticPosition geodetic() const;

    // ECEF of a geodetic position.
    static StationPosition fromGeodetic(const GeodeticPosition& position, int stationId = 0);
    // The distance between two positions along the ellipsoid's surface, near enough for
    // baselines (great circle on the mean radius), in metres.
    static double distance(const GeodeticPosition& a, const GeodeticPosition& b);
};

} // namespace kestrava
