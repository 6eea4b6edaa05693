#include "cli/SettingGroups.h"

namespace kestrava {

std::vector<std::unique_ptr<SettingGroup>> SettingGroups::all() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    // Each page group adds its settings here, in the order of the settings file's sections.
    return groups;
}

} // namespace kestrava
