#pragma once

#include "cli/SettingGroup.h"

#include <memory>
#include <vector>

namespace kestrava {

// Every setting group the command line knows, in the order get prints them.
class SettingGroups {
public:
    static std::vector<std::unique_ptr<SettingGroup>> all();
};

} // namespace kestrava
