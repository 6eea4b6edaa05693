#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// OtherParams.StaticVoice: the static voice prompt, 1 on, 0 off. The receiver keeps it; the
// settings file does not.
class StaticVoiceGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
