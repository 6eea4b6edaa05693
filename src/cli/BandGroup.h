#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// OtherParams.Band2G and OtherParams.Band3G: the GPRS/3G module's band, as item indexes of the
// module's band lists (the Advanced page's lists).
class BandGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
