#pragma once

#include <string>
#include <vector>

namespace kestrava {

// One STR line of a caster's sourcetable: a mount point and what it streams.
struct StreamEntry {
    std::string mountPoint;
    std::string identifier;
    std::string format;        // "RTCM 3.2"
    std::string formatDetails; // "1005(10),1074(1)"
    std::string carrier;       // 0 none, 1 L1, 2 L1 and L2
    std::string navSystems;    // "GPS+GLO+GAL+BDS"
    std::string network;
    std::string country;
    std::string latitude;
    std::string longitude;
    std::string nmea;     // 1: the caster wants the rover's position (a network solution)
    std::string solution; // 0 single base, 1 network
    std::string generator;
    std::string compression;
    std::string authentication; // N none, B basic, D digest
    std::string fee;
    std::string bitrate;
    std::vector<std::string> misc; // anything after the bitrate
};

// One CAS line: another caster.
struct CasterEntry {
    std::string host;
    std::string port;
    std::string identifier;
    std::string operatorName;
    std::string nmea;
    std::string country;
    std::string latitude;
    std::string longitude;
    std::string fallbackHost;
    std::string fallbackPort;
};

// One NET line: a network of streams.
struct NetworkEntry {
    std::string identifier;
    std::string operatorName;
    std::string authentication;
    std::string fee;
    std::string webNet;
    std::string webStr;
    std::string webReg;
};

} // namespace kestrava
