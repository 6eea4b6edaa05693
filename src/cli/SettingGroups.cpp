#include "cli/SettingGroups.h"

#include "cli/SettingBindings.h"
#include "cli/SettingGroupAdapter.h"

namespace kestrava {

std::vector<std::unique_ptr<SettingGroup>> SettingGroups::all() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    for (const SettingBinding& binding : SettingBindings::all()) {
        groups.push_back(std::make_unique<SettingGroupAdapter>(binding));
    }
    return groups;
}

} // namespace kestrava
