#pragma once

#include "cli/SettingGroup.h"
#include "protocol/NetParams.h"

namespace kestrava {

// The network link as the settings file's "NetParams" section names it. A set goes through the
// Net page's form: the record's fields become the texts the page would show, so the command line
// refuses exactly what the page refuses, with the same words.
class NetParamsGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    bool carries(const SettingKey& key, const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;

    // The values of record by Section.Key name, as get prints them.
    static SettingValues valuesOf(const NetParams& record);

private:
    // The record the values make, or the refusal (with the page's words).
    static CliOutcome validate(const SettingValues& values, NetParams& record);
};

} // namespace kestrava
