#include "ntrip/Sourcetable.h"

#include <cstddef>
#include <string>

namespace kestrava {
namespace {

std::vector<std::string> fieldsOf(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t semicolon = line.find(';', start);
        fields.emplace_back(line.substr(start, semicolon - start));
        if (semicolon == std::string_view::npos) {
            break;
        }
        start = semicolon + 1;
    }
    return fields;
}

std::string field(const std::vector<std::string>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string();
}

} // namespace

Sourcetable Sourcetable::parse(std::string_view body) {
    Sourcetable table;
    std::size_t start = 0;
    while (start < body.size()) {
        std::size_t end = body.find('\n', start);
        if (end == std::string_view::npos) {
            end = body.size();
        }
        std::string_view line = body.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.remove_suffix(1);
        }
        if (line == "ENDSOURCETABLE") {
            table.m_complete = true;
            break;
        }
        const std::vector<std::string> f = fieldsOf(line);
        if (f.size() < 2 || f[1].empty()) {
            continue;
        }
        if (f[0] == "STR") {
            StreamEntry s;
            s.mountPoint = f[1];
            s.identifier = field(f, 2);
            s.format = field(f, 3);
            s.formatDetails = field(f, 4);
            s.carrier = field(f, 5);
            s.navSystems = field(f, 6);
            s.network = field(f, 7);
            s.country = field(f, 8);
            s.latitude = field(f, 9);
            s.longitude = field(f, 10);
            s.nmea = field(f, 11);
            s.solution = field(f, 12);
            s.generator = field(f, 13);
            s.compression = field(f, 14);
            s.authentication = field(f, 15);
            s.fee = field(f, 16);
            s.bitrate = field(f, 17);
            for (std::size_t i = 18; i < f.size(); ++i) {
                if (i + 1 < f.size() || !f[i].empty()) { // a closing ';' leaves nothing more
                    s.misc.push_back(f[i]);
                }
            }
            table.m_streams.push_back(std::move(s));
        } else if (f[0] == "CAS") {
            table.m_casters.push_back({f[1], field(f, 2), field(f, 3), field(f, 4), field(f, 5),
                                       field(f, 6), field(f, 7), field(f, 8), field(f, 9),
                                       field(f, 10)});
        } else if (f[0] == "NET") {
            table.m_networks.push_back({f[1], field(f, 2), field(f, 3), field(f, 4), field(f, 5),
                                        field(f, 6), field(f, 7)});
        }
    }
    return table;
}

const StreamEntry* Sourcetable::find(std::string_view mountPoint) const {
    for (const StreamEntry& stream : m_streams) {
        if (stream.mountPoint == mountPoint) {
            return &stream;
        }
    }
    return nullptr;
}

} // namespace kestrava
