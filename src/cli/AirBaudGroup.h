#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// HZParams.AirBaud: the internal radio's air baud rate, 9600 or 19200.
class AirBaudGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
