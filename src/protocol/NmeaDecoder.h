#pragma once

#include "protocol/NmeaFix.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace kestrava {

// Reads the NMEA sentences among whatever the receiver sends (replies and sentences interleave
// on one line): a sentence runs from '$' to its line end and counts only with a checksum that
// matches. GGA, RMC, GSA and GSV of any talker update the fix; every other line is passed over.
class NmeaDecoder {
public:
    // Reads the next piece of the stream; returns how many sentences it completed.
    std::size_t feed(const std::uint8_t* bytes, std::size_t count);

    const NmeaFix& fix() const { return m_fix; }
    // Sentences accepted so far, by type ("GGA", "RMC", ...).
    std::size_t count(std::string_view type) const;
    std::size_t rejected() const { return m_rejected; }

    // One whole sentence, "$GPGGA,...*hh" without its line end; false when it is not one.
    bool sentence(std::string_view line);

private:
    void gga(const std::string* f, std::size_t n);
    void rmc(const std::string* f, std::size_t n);
    void gsa(const std::string* f, std::size_t n);
    void gsv(const std::string& talker, const std::string* f, std::size_t n);

    NmeaFix m_fix;
    std::string m_line;
    bool m_inSentence = false;
    std::map<std::string, std::size_t, std::less<>> m_counts;
    std::map<std::string, int> m_inView; // by talker
    std::size_t m_rejected = 0;
};

} // namespace kestrava
