#include "cli/SettingGroups.h"

#include "cli/AirBaudGroup.h"
#include "cli/ApnParamsGroup.h"
#include "cli/BandGroup.h"
#include "cli/CollectParamsGroup.h"
#include "cli/FileParamsGroup.h"
#include "cli/NetParamsGroup.h"
#include "cli/NmeaGroup.h"
#include "cli/PasswordsGroup.h"
#include "cli/RadioChannelsGroup.h"
#include "cli/StaticVoiceGroup.h"
#include "cli/StoreLocationGroup.h"
#include "cli/VoiceGroup.h"

namespace kestrava {

std::vector<std::unique_ptr<SettingGroup>> SettingGroups::all() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    // In the order get reads and prints them. The radio's groups come after the receiver's own:
    // reading them connects the line through to the internal radio.
    groups.push_back(std::make_unique<NetParamsGroup>());
    groups.push_back(std::make_unique<ApnParamsGroup>());
    groups.push_back(std::make_unique<CollectParamsGroup>());
    groups.push_back(std::make_unique<FileParamsGroup>());
    groups.push_back(std::make_unique<StoreLocationGroup>());
    groups.push_back(std::make_unique<StaticVoiceGroup>());
    groups.push_back(std::make_unique<BandGroup>());
    groups.push_back(std::make_unique<VoiceGroup>());
    groups.push_back(std::make_unique<NmeaGroup>());
    groups.push_back(std::make_unique<RadioChannelsGroup>());
    groups.push_back(std::make_unique<AirBaudGroup>());
    // Write-only settings last: they are not in the settings file.
    groups.push_back(std::make_unique<PasswordsGroup>());
    return groups;
}

} // namespace kestrava
