#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// OtherParams.NMEA: which NMEA sentences the receiver's board outputs, and how often, as the 16
// digits the settings file keeps. Set only: the board cannot report its output.
class NmeaGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
