#include "cli/SettingGroups.h"

#include "cli/SettingBindings.h"
#include "cli/SettingGroupAdapter.h"

namespace kestrava {

std::vector<std::unique_ptr<SettingGroup>> SettingGroups::all() {
    std::vector<std::unique_ptr<SettingGroup>> groups;
    // In the table's order, the order get reads and prints them.
    for (const SettingGroupRow& row : SettingTable::groups()) {
        if (const SettingBinding* binding = SettingBindings::find(row.id)) {
            groups.push_back(std::make_unique<SettingGroupAdapter>(*binding));
        }
    }
    return groups;
}

} // namespace kestrava
