#include "protocol/NmeaDecoder.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace kestrava {
namespace {

// The longest line a receiver sends is well under this; anything longer is no sentence.
constexpr std::size_t kMaxLine = 120;

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::optional<double> number(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size()) {
        return std::nullopt;
    }
    return value;
}

int whole(const std::string& text, int otherwise) {
    const std::optional<double> value = number(text);
    return value && *value >= 0 && *value < 1e6 ? static_cast<int>(*value) : otherwise;
}

// ddmm.mmmm (or dddmm.mmmm) and its hemisphere.
std::optional<double> angle(const std::string& text, const std::string& hemisphere, char negative,
                            char positive, double limit) {
    const std::optional<double> raw = number(text);
    if (!raw || *raw < 0 || hemisphere.size() != 1 ||
        (hemisphere[0] != negative && hemisphere[0] != positive)) {
        return std::nullopt;
    }
    const double degrees = static_cast<double>(static_cast<long long>(*raw / 100.0));
    const double minutes = *raw - degrees * 100.0;
    const double value = degrees + minutes / 60.0;
    if (minutes >= 60.0 || value > limit) {
        return std::nullopt;
    }
    return hemisphere[0] == negative ? -value : value;
}

} // namespace

const char* NmeaFix::qualityName(int quality) {
    switch (quality) {
    case 0:
        return "No fix";
    case 1:
        return "GPS";
    case 2:
        return "DGPS";
    case 3:
        return "PPS";
    case 4:
        return "RTK fixed";
    case 5:
        return "RTK float";
    case 6:
        return "Estimated";
    case 7:
        return "Manual";
    case 8:
        return "Simulation";
    default:
        return "";
    }
}

std::size_t NmeaDecoder::feed(const std::uint8_t* bytes, std::size_t count) {
    std::size_t completed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '$') {
            if (m_inSentence && !m_line.empty()) {
                ++m_rejected; // a new start before the old one ended
            }
            m_line.assign(1, c);
            m_inSentence = true;
            continue;
        }
        if (!m_inSentence) {
            continue;
        }
        if (c == '\r' || c == '\n') {
            if (sentence(m_line)) {
                ++completed;
            } else {
                ++m_rejected;
            }
            m_inSentence = false;
            m_line.clear();
            continue;
        }
        if (m_line.size() >= kMaxLine || static_cast<unsigned char>(c) < 0x20 ||
            static_cast<unsigned char>(c) > 0x7E) {
            ++m_rejected;
            m_inSentence = false;
            m_line.clear();
            continue;
        }
        m_line.push_back(c);
    }
    return completed;
}

bool NmeaDecoder::sentence(std::string_view line) {
    const std::size_t star = line.rfind('*');
    if (line.size() < 7 || line[0] != '$' || star == std::string_view::npos ||
        star + 3 != line.size()) {
        return false;
    }
    const int high = hexValue(line[star + 1]);
    const int low = hexValue(line[star + 2]);
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i) {
        sum ^= static_cast<unsigned char>(line[i]);
    }
    if (high < 0 || low < 0 || static_cast<unsigned>(high * 16 + low) != sum) {
        return false;
    }
    std::vector<std::string> fields;
    std::size_t start = 1;
    while (true) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos || comma > star) {
            fields.emplace_back(line.substr(start, star - start));
            break;
        }
        fields.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    const std::string& address = fields[0];
    if (address.size() != 5) {
        return false;
    }
    const std::string talker = address.substr(0, 2);
    const std::string type = address.substr(2);
    const std::string* f = fields.data();
    const std::size_t n = fields.size();
    if (type == "GGA") {
        gga(f, n);
    } else if (type == "RMC") {
        rmc(f, n);
    } else if (type == "GSA") {
        gsa(f, n);
    } else if (type == "GSV") {
        gsv(talker, f, n);
    }
    ++m_counts[type];
    return true;
}

std::size_t NmeaDecoder::count(std::string_view type) const {
    const auto found = m_counts.find(type);
    return found == m_counts.end() ? 0 : found->second;
}

void NmeaDecoder::gga(const std::string* f, std::size_t n) {
    if (n < 10) {
        return;
    }
    m_fix.time = f[1];
    m_fix.latitude = angle(f[2], f[3], 'S', 'N', 90.0);
    m_fix.longitude = angle(f[4], f[5], 'W', 'E', 180.0);
    m_fix.quality = whole(f[6], -1);
    m_fix.satellites = whole(f[7], -1);
    m_fix.hdop = number(f[8]);
    m_fix.height = number(f[9]);
    m_fix.age = n > 13 ? number(f[13]) : std::nullopt;
}

void NmeaDecoder::rmc(const std::string* f, std::size_t n) {
    if (n < 10) {
        return;
    }
    m_fix.valid = f[2] == "A";
    m_fix.date = f[9];
}

void NmeaDecoder::gsa(const std::string* f, std::size_t n) {
    if (n < 18) {
        return;
    }
    m_fix.mode = whole(f[2], 0);
    m_fix.pdop = number(f[15]);
    m_fix.vdop = number(f[17]);
}

void NmeaDecoder::gsv(const std::string& talker, const std::string* f, std::size_t n) {
    if (n < 4) {
        return;
    }
    m_inView[talker] = whole(f[3], 0);
    int total = 0;
    for (const auto& entry : m_inView) {
        total += entry.second;
    }
    m_fix.inView = total;
}

} // namespace kestrava
