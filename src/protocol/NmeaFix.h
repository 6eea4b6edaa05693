#pragma once

#include <optional>
#include <string>

namespace kestrava {

// The receiver's position and fix as its NMEA sentences last reported them. Fields a sentence
// left empty stay unknown.
struct NmeaFix {
    // GGA
    std::string time;    // hhmmss.ss, UTC
    int quality = -1;    // 0 no fix, 1 GPS, 2 DGPS, 4 RTK fixed, 5 RTK float, 6 estimated
    int satellites = -1; // used in the fix
    std::optional<double> hdop;
    std::optional<double> age;       // seconds since the last corrections
    std::optional<double> latitude;  // degrees, north positive
    std::optional<double> longitude; // degrees, east positive
    std::optional<double> height;    // metres above mean sea level
    // RMC
    std::string date;   // ddmmyy
    bool valid = false; // RMC status A
    // GSA
    int mode = 0; // 1 no fix, 2 2D, 3 3D
    std::optional<double> pdop;
    std::optional<double> vdop;
    // GSV
    int inView = -1; // satellites in view, summed over the talkers seen

    // The fix type in words ("No fix", "GPS", "DGPS", "RTK float", "RTK fixed", ...).
    static const char* qualityName(int quality);
};

} // namespace kestrava
