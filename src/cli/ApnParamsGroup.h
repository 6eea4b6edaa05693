#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// The modem's APN login as the settings file's "ANPParams" section names it, checked by the APN
// dialog's form.
class ApnParamsGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
