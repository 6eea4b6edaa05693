#pragma once

#include "cli/SettingBinding.h"

#include <span>

namespace kestrava {

// The command line's half of every group of the setting table.
class SettingBindings {
public:
    static std::span<const SettingBinding> all();
    // The binding of group; null for a group the command line does not address (the program's
    // own keys).
    static const SettingBinding* find(SettingGroupId group);
};

} // namespace kestrava
