#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// OtherParams.StaticLocation (1 SD card, 0 internal FLASH) and OtherParams.Rinex (1 on, 0 off):
// set together, as the Static page's store-location row does, the flag after the location.
class StoreLocationGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
