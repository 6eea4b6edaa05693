#pragma once

#include "cli/SettingGroup.h"

#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;
class SettingsVerbs;
struct PortReport;

// Profiles: a recvcfg.ini-shaped file of settings, compared with a receiver (diff) or brought
// onto it with proof that it took them (apply).
class ProfileVerbs {
public:
    // Reads a profile: every key a receiver setting, by its canonical name. Keys of the settings
    // file that are not receiver settings (the firmware type and path) are skipped with a note
    // on notes; any other unknown key, or a malformed file, is an error.
    static bool load(const std::string& path, const SettingsVerbs& settings, SettingValues& profile,
                     std::ostream& notes, std::string& error);

    // Whether a receiver's value and a profile's value of key are the same setting.
    static bool same(const SettingKey& key, const std::string& receiver,
                     const std::string& profile);

    // diff FILE: one "Section.Key: receiver VALUE, profile VALUE" line per differing key.
    // 0 nothing differs, 1 something does, 2 an error.
    static int diff(ReceiverSession& session, SettingsVerbs& settings,
                    const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    // apply FILE [--dry-run]: checks every group first, sends only the groups that hold a
    // differing key, reads them back and prints one line per key. 0 only when every key now
    // matches.
    static int apply(ReceiverSession& session, SettingsVerbs& settings,
                     const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     PortReport* report = nullptr);

    // The arguments' check before the port is opened; empty when fine.
    static std::string checkArguments(const std::vector<std::string>& args, bool allowDryRun,
                                      const SettingsVerbs& settings);
};

} // namespace kestrava
