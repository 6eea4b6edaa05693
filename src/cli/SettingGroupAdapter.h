#pragma once

#include "cli/SettingBinding.h"
#include "cli/SettingGroup.h"

namespace kestrava {

// A group of the setting table as get, set, diff and apply see it: its keys from the table, its
// reads, checks and sets from the group's binding.
class SettingGroupAdapter : public SettingGroup {
public:
    explicit SettingGroupAdapter(const SettingBinding& binding);

    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    bool carries(const SettingKey& key, const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;

private:
    // The message of a command that got no answer.
    std::string silence() const;

    const SettingBinding& m_binding;
    const SettingGroupRow& m_row;
};

} // namespace kestrava
