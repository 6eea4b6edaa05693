#include "cli/ProfileVerbs.h"

#include "cli/IniText.h"
#include "cli/PortVerbs.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingPlans.h"
#include "cli/SettingsVerbs.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

namespace kestrava {
namespace {

constexpr int kDiffSame = 0;
constexpr int kDiffDiffers = 1;
constexpr int kDiffError = 2;

// Keys of the settings file that belong to the program, not to a receiver.
bool programSetting(const std::string& section, const std::string& key) {
    const SettingKeyRow* row = SettingTable::find(section, key);
    return row != nullptr && row->group == SettingGroupId::Program;
}

std::optional<SettingKey> keyNamed(const SettingsVerbs& settings, const std::string& name) {
    for (const auto& group : settings.groups()) {
        for (const SettingKey& key : group->keys()) {
            if (key.name() == name) {
                return key;
            }
        }
    }
    return std::nullopt;
}

// A frequency as the settings file writes it (459.225006) in the form the radio page takes
// (459.225): the float the frame is built from, with three decimals.
std::string frequencyForm(const std::string& value) {
    double megahertz = 0;
    if (!SettingPlans::number(value, megahertz) || megahertz < 0 || megahertz >= 1000) {
        return value; // left for the form to refuse with its own words
    }
    char text[16];
    std::snprintf(text, sizeof text, "%07.3f", static_cast<double>(static_cast<float>(megahertz)));
    return text;
}

using Plan = SettingPlan;

std::string valueOr(const SettingValues& values, const std::string& name) {
    return SettingPlans::valueOr(values, name);
}

} // namespace

bool ProfileVerbs::same(const SettingKey& key, const std::string& receiver,
                        const std::string& profile) {
    return SettingPlans::same(key, receiver, profile);
}

bool ProfileVerbs::load(const std::string& path, const SettingsVerbs& settings,
                        SettingValues& profile, std::ostream& notes, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read \"" + path + "\"";
        return false;
    }
    std::vector<IniText::Entry> entries;
    if (!IniText::parse(file, entries, error)) {
        error = path + ": " + error;
        return false;
    }
    for (const IniText::Entry& entry : entries) {
        if (programSetting(entry.section, entry.key)) {
            notes << "note: " << entry.section << '.' << entry.key
                  << " is a setting of the program, not of the receiver: ignored\n";
            continue;
        }
        const std::string name = settings.canonicalName(entry.section + '.' + entry.key);
        if (name.empty()) {
            error = path + ": line " + std::to_string(entry.line) + ": unknown setting \"" +
                    entry.section + '.' + entry.key + "\" (kestrava-cli --help lists them)";
            return false;
        }
        const std::optional<SettingKey> key = keyNamed(settings, name);
        profile[name] = key && key->compare == SettingCompare::Frequency
                            ? frequencyForm(entry.value)
                            : entry.value;
    }
    if (profile.empty()) {
        error = path + ": no receiver settings in the file";
        return false;
    }
    return true;
}

std::string ProfileVerbs::checkArguments(const std::vector<std::string>& args, bool allowDryRun,
                                         const SettingsVerbs& settings) {
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (allowDryRun && arg == "--dry-run") {
            continue;
        }
        files.push_back(arg);
    }
    if (files.size() != 1) {
        return allowDryRun ? "apply: usage: apply FILE [--dry-run]" : "diff: usage: diff FILE";
    }
    SettingValues profile;
    std::ostringstream notes;
    std::string error;
    return load(files.front(), settings, profile, notes, error) ? std::string() : error;
}

int ProfileVerbs::diff(ReceiverSession& session, SettingsVerbs& settings,
                       const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SettingValues profile;
    std::string error;
    if (args.size() != 1 || !load(args.front(), settings, profile, err, error)) {
        err << "kestrava-cli: diff: " << (error.empty() ? "usage: diff FILE" : error) << '\n';
        return kDiffError;
    }
    std::vector<Plan> plans;
    int status = 0;
    if (!SettingPlans::read(session, settings, profile, plans, err, status)) {
        return kDiffError;
    }
    bool differs = false;
    for (const Plan& plan : plans) {
        for (const SettingKey& key : plan.keys) {
            if (!key.readable) {
                err << "note: " << key.name()
                    << " cannot be read from the receiver: not compared\n";
                continue;
            }
            if (!plan.group->carries(key, plan.candidate)) {
                err << "note: " << key.name()
                    << " is not sent to the receiver with the profile's other values: not "
                       "compared\n";
                continue;
            }
            const std::string receiver = valueOr(plan.current, key.name());
            const std::string wanted = profile.at(key.name());
            if (!same(key, receiver, wanted)) {
                differs = true;
                out << key.name() << ": receiver " << receiver << ", profile " << wanted << '\n';
            }
        }
    }
    return differs ? kDiffDiffers : kDiffSame;
}

int ProfileVerbs::apply(ReceiverSession& session, SettingsVerbs& settings,
                        const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                        PortReport* report) {
    PortReport unused;
    PortReport& counts = report != nullptr ? *report : unused;
    bool dryRun = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--dry-run") {
            dryRun = true;
        } else {
            files.push_back(arg);
        }
    }
    SettingValues profile;
    std::string error;
    if (files.size() != 1 || !load(files.front(), settings, profile, err, error)) {
        err << "kestrava-cli: apply: " << (error.empty() ? "usage: apply FILE [--dry-run]" : error)
            << '\n';
        return kCliUsage;
    }
    std::vector<Plan> plans;
    int status = 0;
    if (!SettingPlans::read(session, settings, profile, plans, err, status)) {
        return status;
    }
    // Every group is checked before anything is set: one refused value stops them all.
    const CliOutcome checked = SettingPlans::check(plans, profile);
    if (!checked.ok()) {
        err << checked.message << '\n';
        return checked.status;
    }
    for (Plan& plan : plans) {
        for (const SettingKey& key : plan.keys) {
            if (!plan.group->carries(key, plan.candidate)) {
                continue;
            }
            if (!key.readable ||
                !same(key, valueOr(plan.current, key.name()), profile.at(key.name()))) {
                plan.differ.push_back(key.name());
            }
        }
    }
    // Each key's line goes to standard output and into the report, in the same words.
    const auto say = [&](const SettingKey& key, const Plan& plan, const std::string& outcome,
                         bool differs) {
        out << key.name() << ": " << outcome << '\n';
        counts.lines.push_back({key.name(), key.readable ? valueOr(plan.current, key.name()) : "",
                                profile.at(key.name()), outcome, differs});
    };
    if (dryRun) {
        for (const Plan& plan : plans) {
            for (const SettingKey& key : plan.keys) {
                const bool sends = std::find(plan.differ.begin(), plan.differ.end(), key.name()) !=
                                   plan.differ.end();
                if (!plan.group->carries(key, plan.candidate)) {
                    say(key, plan, "not sent (unused with the other values)", false);
                } else if (!sends) {
                    say(key, plan, "unchanged", false);
                } else if (!key.readable) {
                    say(key, plan, "would send " + profile.at(key.name()), true);
                } else {
                    say(key, plan,
                        "would set " + valueOr(plan.current, key.name()) + " -> " +
                            profile.at(key.name()),
                        true);
                }
            }
        }
        return kCliOk;
    }
    for (Plan& plan : plans) {
        if (plan.differ.empty()) {
            continue;
        }
        const CliOutcome outcome = plan.group->write(session, plan.candidate);
        if (!outcome.ok()) {
            err << outcome.message << '\n';
        }
    }
    bool allMatch = true;
    for (Plan& plan : plans) {
        if (plan.differ.empty()) {
            for (const SettingKey& key : plan.keys) {
                const bool carried = plan.group->carries(key, plan.candidate);
                counts.keysUnchanged += carried ? 1 : 0;
                say(key, plan, carried ? "unchanged" : "not sent (unused with the other values)",
                    false);
            }
            continue;
        }
        SettingValues readBack;
        bool readable = false;
        for (const SettingKey& key : plan.keys) {
            readable = readable || key.readable;
        }
        CliOutcome reread;
        if (readable) {
            reread = plan.group->read(session, readBack);
        }
        for (const SettingKey& key : plan.keys) {
            const bool sent =
                std::find(plan.differ.begin(), plan.differ.end(), key.name()) != plan.differ.end();
            if (!plan.group->carries(key, plan.candidate)) {
                say(key, plan, "not sent (unused with the other values)", false);
            } else if (!key.readable) {
                ++counts.keysSet;
                say(key, plan, "sent, not verifiable", true);
            } else if (!reread.ok()) {
                allMatch = false;
                ++counts.keysFailed;
                say(key, plan, "FAILED (" + reread.message + ")", sent);
            } else if (same(key, valueOr(readBack, key.name()), profile.at(key.name()))) {
                ++(sent ? counts.keysSet : counts.keysUnchanged);
                say(key, plan, sent ? "set" : "unchanged", sent);
            } else {
                allMatch = false;
                ++counts.keysFailed;
                say(key, plan, "FAILED (receiver " + valueOr(readBack, key.name()) + ")", sent);
            }
        }
    }
    return allMatch ? kCliOk : kCliFailed;
}

} // namespace kestrava
