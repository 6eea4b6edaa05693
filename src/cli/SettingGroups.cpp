#include "cli/SettingGroups.h"

#include "cli/AirBaudGroup.h"
#include "cli/BandGroup.h"
#include "cli/NmeaGroup.h"
#include "cli/RadioChannelsGroup.h"
#include "cli/VoiceGroup.h"

namespace kestrava {

std::vector<std::unique_ptr<SettingGroup>> SettingGroups::all() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    // Each page group adds its settings here, in the order of the settings file's sections.
    groups.push_back(std::make_unique<RadioChannelsGroup>());
    groups.push_back(std::make_unique<AirBaudGroup>());
    groups.push_back(std::make_unique<BandGroup>());
    groups.push_back(std::make_unique<VoiceGroup>());
    groups.push_back(std::make_unique<NmeaGroup>());
    return groups;
}

} // namespace kestrava
