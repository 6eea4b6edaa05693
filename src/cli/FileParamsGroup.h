#pragma once

#include "cli/SettingGroup.h"

namespace kestrava {

// FileParams.FilePrefix and FileParams.FileSN: the static file name's prefix and serial number.
class FileParamsGroup : public SettingGroup {
public:
    std::vector<SettingKey> keys() const override;
    CliOutcome read(ReceiverSession& session, SettingValues& values) override;
    CliOutcome check(const SettingValues& values) const override;
    CliOutcome write(ReceiverSession& session, const SettingValues& values) override;
};

} // namespace kestrava
