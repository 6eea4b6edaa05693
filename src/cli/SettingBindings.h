#pragma once

#include "cli/SettingBinding.h"

#include <span>

namespace kestrava {

// The command line's half of every group of the setting table, in the table's group order.
class SettingBindings {
public:
    static std::span<const SettingBinding> all();
};

} // namespace kestrava
