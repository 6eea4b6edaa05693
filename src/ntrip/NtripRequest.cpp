#include "ntrip/NtripRequest.h"

#include "protocol/Base64.h"

namespace kestrava {

std::string NtripRequest::bytes() const {
    const bool v2 = version == Version::V2;
    std::string out = "GET /" + mountPoint + (v2 ? " HTTP/1.1\r\n" : " HTTP/1.0\r\n");
    out += "Host: " + host + (port == 80 ? std::string() : ':' + std::to_string(port)) + "\r\n";
    if (v2) {
        out += "Ntrip-Version: Ntrip/2.0\r\n";
    }
    out += std::string("User-Agent: ") + kUserAgent + "\r\n";
    if (!user.empty() || !password.empty()) {
        const std::string login = user + ':' + password;
        out += "Authorization: Basic " + Base64::encode(login) + "\r\n";
    }
    if (v2) {
        out += "Connection: close\r\n";
    }
    out += "\r\n";
    return out;
}

} // namespace kestrava
