#pragma once

#include "ntrip/SourcetableEntry.h"

#include <string_view>
#include <vector>

namespace kestrava {

// A caster's sourcetable: its STR, CAS and NET lines. Lines of another kind, and lines too short
// to name their entry, are skipped; the table ends at ENDSOURCETABLE.
class Sourcetable {
public:
    static Sourcetable parse(std::string_view body);

    const std::vector<StreamEntry>& streams() const { return m_streams; }
    const std::vector<CasterEntry>& casters() const { return m_casters; }
    const std::vector<NetworkEntry>& networks() const { return m_networks; }
    // Whether the table was closed by its ENDSOURCETABLE line.
    bool complete() const { return m_complete; }

    // The stream of that mount point (names compare exactly, as casters do), or nullptr.
    const StreamEntry* find(std::string_view mountPoint) const;

private:
    std::vector<StreamEntry> m_streams;
    std::vector<CasterEntry> m_casters;
    std::vector<NetworkEntry> m_networks;
    bool m_complete = false;
};

} // namespace kestrava
