#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// HZParams.HZSend0..15 and HZReceive0..15: the internal radio's channel table, read and written
// as a whole after connecting the radio. Frequencies are MHz with three decimals.
class RadioChannelsGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
