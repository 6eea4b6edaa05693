#pragma once

#include "cli/SettingGroup.h"

#include <ostream>
#include <string>
#include <vector>

namespace kestrava {

class ReceiverSession;
class SettingsVerbs;

// One setting group a set or a profile touches: what the receiver holds and what it is to hold.
struct SettingPlan {
    SettingGroup* group = nullptr;
    std::vector<SettingKey> keys;    // the group's keys the changes name
    SettingValues current;           // as read from the receiver
    SettingValues candidate;         // current with the changes
    std::vector<std::string> differ; // keys to send
};

// What set and apply share: every group is read and checked before anything is sent, and what
// was sent is proved by reading it back.
class SettingPlans {
public:
    // Reads the current values of every group the changes touch; false (message on err,
    // status set) when a read fails.
    static bool read(ReceiverSession& session, const SettingsVerbs& settings,
                     const SettingValues& changes, std::vector<SettingPlan>& plans,
                     std::ostream& err, int& status);

    // Checks every planned group with the page's form, and every changed value as the text the
    // receiver would be sent, sending nothing: the first refusal, or success.
    static CliOutcome check(const std::vector<SettingPlan>& plans, const SettingValues& changes);

    // The refusal of one value that cannot reach the receiver exactly as given (a NUL byte, text
    // that is not valid UTF-8); empty when it can.
    static std::string valueProblem(const std::string& name, const std::string& value);

    // Whether a receiver's value and a wanted value of key are the same setting, compared as the
    // receiver stores it.
    static bool same(const SettingKey& key, const std::string& receiver, const std::string& wanted);

    // A whole text as a number ("07", "459.225006"); false for anything else.
    static bool number(const std::string& text, double& value);
    // The value under name, or empty.
    static std::string valueOr(const SettingValues& values, const std::string& name);
};

} // namespace kestrava
