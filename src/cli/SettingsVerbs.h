#pragma once

#include "cli/SettingGroup.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;

// get and set: the receiver's settings as INI text, read and written group by group.
class SettingsVerbs {
public:
    explicit SettingsVerbs(std::vector<std::unique_ptr<SettingGroup>> groups);

    // get [SECTION...]: reads every readable setting of the named sections (all when none is
    // named) and prints them as INI text.
    int get(ReceiverSession& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err);

    // set Section.Key=value... | set --from FILE: reads the current values of every group
    // touched, applies the changes, and writes each group as one set.
    int set(ReceiverSession& session, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err);

    // Checks the arguments of set before the port is opened: false with the message in error.
    bool parseAssignments(const std::vector<std::string>& args, SettingValues& changes,
                          std::string& error) const;

    // The Section.Key name of a setting spelt in any letter case, or empty when unknown.
    std::string canonicalName(const std::string& name) const;

    // Writes every group's keys with their forms, for --help.
    void printKeys(std::ostream& out) const;

    const std::vector<std::unique_ptr<SettingGroup>>& groups() const { return m_groups; }

private:
    std::vector<std::unique_ptr<SettingGroup>> m_groups;
};

} // namespace kestrava
