#pragma once

#include <string>

namespace kestrava {

// The request a caster is sent: the sourcetable (mount point empty) or one mount point's stream,
// in the first NTRIP version (HTTP/1.0 style) or the second (HTTP/1.1 with Ntrip-Version).
struct NtripRequest {
    enum class Version { V1, V2 };

    std::string host;
    int port = 2101;
    std::string mountPoint; // empty: the sourcetable
    std::string user;
    std::string password;
    Version version = Version::V1;

    static constexpr const char* kUserAgent = "NTRIP Kestrava/1.0";

    std::string bytes() const;
};

} // namespace kestrava
