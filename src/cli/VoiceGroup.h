#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// OtherParams.Voice and OtherParams.Volume: the voice prompt type code and the volume, for
// receivers with a voice type list (type code 'Q' and above; older ones only switch the voice
// on or off, see the voice verb).
class VoiceGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
