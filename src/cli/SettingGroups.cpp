#include "cli/SettingGroups.h"

#include "cli/ApnParamsGroup.h"
#include "cli/NetParamsGroup.h"
#include "cli/PasswordsGroup.h"

namespace kestrava {

std::vector<std::unique_ptr<SettingGroup>> SettingGroups::all() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    // Each page group adds its settings here, in the order of the settings file's sections.
    groups.push_back(std::make_unique<NetParamsGroup>());
    groups.push_back(std::make_unique<ApnParamsGroup>());
    // Write-only settings last: they are not in the settings file.
    groups.push_back(std::make_unique<PasswordsGroup>());
    return groups;
}

} // namespace kestrava
