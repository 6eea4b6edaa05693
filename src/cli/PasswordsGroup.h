#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// The remote connection and WiFi passwords as settings of a profile: write-only (a receiver
// never reports them, so get leaves them out and apply reports them "sent, not verifiable").
class PasswordsGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
