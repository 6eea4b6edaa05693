#include "cli/SettingsVerbs.h"

#include "cli/IniText.h"
#include "cli/ReceiverSession.h"
#include "cli/SettingPlans.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

namespace kestrava {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

SettingsVerbs::SettingsVerbs(std::vector<std::unique_ptr<SettingGroup>> groups)
    : m_groups(std::move(groups)) {}

std::string SettingsVerbs::canonicalName(const std::string& name) const {
    const std::string wanted = lower(name);
    for (const auto& group : m_groups) {
        for (const SettingKey& key : group->keys()) {
            if (lower(key.name()) == wanted) {
                return key.name();
            }
        }
    }
    return {};
}

int SettingsVerbs::get(ReceiverSession& session, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err) {
    std::set<std::string> sections;
    std::set<std::string> known;
    for (const auto& group : m_groups) {
        for (const SettingKey& key : group->keys()) {
            known.insert(lower(key.section));
        }
    }
    for (const std::string& arg : args) {
        if (known.count(lower(arg)) == 0) {
            err << "kestrava-cli: get: unknown section \"" << arg
                << "\" (kestrava-cli --help lists them)\n";
            return kCliUsage;
        }
        sections.insert(lower(arg));
    }
    std::vector<IniText::Entry> entries;
    for (const auto& group : m_groups) {
        std::vector<SettingKey> wanted;
        for (const SettingKey& key : group->keys()) {
            if (key.readable && (sections.empty() || sections.count(lower(key.section)) != 0)) {
                wanted.push_back(key);
            }
        }
        if (wanted.empty()) {
            continue;
        }
        SettingValues values;
        const CliOutcome outcome = group->read(session, values);
        if (!outcome.ok()) {
            err << outcome.message << '\n';
            return outcome.status;
        }
        for (const SettingKey& key : wanted) {
            const auto found = values.find(key.name());
            if (found != values.end()) {
                entries.push_back({key.section, key.key, found->second, 0});
            }
        }
    }
    IniText::write(entries, out);
    return kCliOk;
}

bool SettingsVerbs::parseAssignments(const std::vector<std::string>& args, SettingValues& changes,
                                     std::string& error) const {
    std::vector<IniText::Entry> entries;
    if (!args.empty() && args.front() == "--from") {
        if (args.size() != 2) {
            error = "set: usage: set --from FILE";
            return false;
        }
        std::ifstream file(args[1]);
        if (!file) {
            error = "set: cannot read \"" + args[1] + "\"";
            return false;
        }
        if (!IniText::parse(file, entries, error)) {
            error = "set: " + args[1] + ": " + error;
            return false;
        }
    } else {
        for (const std::string& arg : args) {
            const auto equals = arg.find('=');
            const auto dot = arg.find('.');
            if (equals == std::string::npos || dot == std::string::npos || dot > equals) {
                error = "set: expected Section.Key=value, found \"" + arg + "\"";
                return false;
            }
            entries.push_back({arg.substr(0, dot), arg.substr(dot + 1, equals - dot - 1),
                               arg.substr(equals + 1), 0});
        }
    }
    if (entries.empty()) {
        error = "set: which settings? (Section.Key=value..., or --from FILE)";
        return false;
    }
    for (const IniText::Entry& entry : entries) {
        const std::string name = canonicalName(entry.section + '.' + entry.key);
        if (name.empty()) {
            error = "set: unknown setting \"" + entry.section + '.' + entry.key +
                    "\" (kestrava-cli --help lists them)";
            return false;
        }
        changes[name] = entry.value;
    }
    return true;
}

int SettingsVerbs::set(ReceiverSession& session, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err) {
    SettingValues changes;
    std::string error;
    if (!parseAssignments(args, changes, error)) {
        err << "kestrava-cli: " << error << '\n';
        return kCliUsage;
    }
    // Every group the changes touch is read and checked first: a refused value stops them all
    // before anything is sent.
    std::vector<SettingPlan> plans;
    int status = kCliOk;
    if (!SettingPlans::read(session, *this, changes, plans, err, status)) {
        return status;
    }
    const CliOutcome checked = SettingPlans::check(plans, changes);
    if (!checked.ok()) {
        err << checked.message << '\n';
        return checked.status;
    }
    for (const SettingPlan& plan : plans) {
        const CliOutcome outcome = plan.group->write(session, plan.candidate);
        if (!outcome.ok()) {
            err << outcome.message << '\n';
            return outcome.status;
        }
        if (!outcome.message.empty()) {
            out << outcome.message << '\n';
        }
    }
    // What was sent is proved by reading it back: a receiver that holds something else has not
    // taken the setting, whatever it answered.
    bool allMatch = true;
    for (const SettingPlan& plan : plans) {
        bool readable = false;
        for (const SettingKey& key : plan.keys) {
            readable = readable || key.readable;
        }
        if (!readable) {
            continue;
        }
        SettingValues readBack;
        const CliOutcome reread = plan.group->read(session, readBack);
        if (!reread.ok()) {
            err << reread.message << '\n';
            return reread.status;
        }
        for (const SettingKey& key : plan.keys) {
            const std::string wanted = changes.at(key.name());
            if (!plan.group->carries(key, plan.candidate)) {
                err << "note: " << key.name()
                    << " is not sent to the receiver with the group's other values\n";
                continue;
            }
            if (!key.readable) {
                continue;
            }
            const std::string held = SettingPlans::valueOr(readBack, key.name());
            if (!SettingPlans::same(key, held, wanted)) {
                allMatch = false;
                err << key.name() << ": the receiver holds " << held << ", not " << wanted << '\n';
            }
        }
    }
    return allMatch ? kCliOk : kCliFailed;
}

void SettingsVerbs::printKeys(std::ostream& out) const {
    std::string section;
    for (const auto& group : m_groups) {
        for (const SettingKey& key : group->keys()) {
            out << "  " << key.name();
            if (!key.readable) {
                out << " (set only)";
            }
            out << "\n      " << key.help << '\n';
        }
    }
}

} // namespace kestrava
