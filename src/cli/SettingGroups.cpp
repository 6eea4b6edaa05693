#include "cli/SettingGroups.h"

#include "cli/CollectParamsGroup.h"
#include "cli/FileParamsGroup.h"
#include "cli/StaticVoiceGroup.h"
#include "cli/StoreLocationGroup.h"

namespace kestrava {

std::vector<std::unique_ptr<SettingGroup>> SettingGroups::all() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    // Each page group adds its settings here, in the order of the settings file's sections.
    groups.push_back(std::make_unique<CollectParamsGroup>());
    groups.push_back(std::make_unique<FileParamsGroup>());
    groups.push_back(std::make_unique<StoreLocationGroup>());
    groups.push_back(std::make_unique<StaticVoiceGroup>());
    return groups;
}

} // namespace kestrava
