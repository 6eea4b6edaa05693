#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// CollectParams.CollecInterval and CollectParams.CutOff: the recording interval and the
// elevation cut-off, read and set together as the Static page does.
class CollectParamsGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
