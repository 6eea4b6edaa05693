#include "cli/SettingPlans.h"

#include "cli/SettingsVerbs.h"

#include <QStringDecoder>

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace kestrava {
namespace {

// A switch as the receiver keeps it: "true"/"1" and "false"/"0" in any case.
int switchValue(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (text == "true" || text == "1") {
        return 1;
    }
    if (text == "false" || text == "0") {
        return 0;
    }
    return -1;
}

} // namespace

bool SettingPlans::read(ReceiverSession& session, const SettingsVerbs& settings,
                        const SettingValues& changes, std::vector<SettingPlan>& plans,
                        std::ostream& err, int& status) {
    for (const auto& group : settings.groups()) {
        SettingPlan plan;
        plan.group = group.get();
        bool readable = false;
        for (const SettingKey& key : group->keys()) {
            if (changes.count(key.name()) != 0) {
                plan.keys.push_back(key);
                readable = readable || key.readable;
            }
        }
        if (plan.keys.empty()) {
            continue;
        }
        if (readable) {
            const CliOutcome outcome = group->read(session, plan.current);
            if (!outcome.ok()) {
                err << outcome.message << '\n';
                status = outcome.status;
                return false;
            }
        }
        plan.candidate = plan.current;
        for (const SettingKey& key : plan.keys) {
            plan.candidate[key.name()] = changes.at(key.name());
        }
        plans.push_back(std::move(plan));
    }
    return true;
}

std::string SettingPlans::valueProblem(const std::string& name, const std::string& value) {
    if (value.find('\0') != std::string::npos) {
        return name + ": the value holds a NUL character, which cannot be sent";
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text =
        utf8.decode(QByteArrayView(value.data(), static_cast<qsizetype>(value.size())));
    if (utf8.hasError() || text.toUtf8().toStdString() != value) {
        return name + ": the value is not valid UTF-8 text, so the receiver would store "
                      "something else";
    }
    return {};
}

CliOutcome SettingPlans::check(const std::vector<SettingPlan>& plans,
                               const SettingValues& changes) {
    for (const auto& [name, value] : changes) {
        const std::string problem = valueProblem(name, value);
        if (!problem.empty()) {
            return {kCliRefused, problem};
        }
    }
    for (const SettingPlan& plan : plans) {
        const CliOutcome outcome = plan.group->check(plan.candidate);
        if (!outcome.ok()) {
            return outcome;
        }
    }
    return {};
}

bool SettingPlans::same(const SettingKey& key, const std::string& receiver,
                        const std::string& wanted) {
    double a = 0;
    double b = 0;
    switch (key.compare) {
    case SettingCompare::Number:
        if (SettingPlans::number(receiver, a) && SettingPlans::number(wanted, b)) {
            return a == b;
        }
        break;
    case SettingCompare::Frequency:
        if (SettingPlans::number(receiver, a) && SettingPlans::number(wanted, b)) {
            return static_cast<float>(a) == static_cast<float>(b);
        }
        break;
    case SettingCompare::Switch:
        if (switchValue(receiver) >= 0) {
            return switchValue(receiver) == switchValue(wanted);
        }
        break;
    case SettingCompare::Text:
        break;
    }
    return receiver == wanted;
}

bool SettingPlans::number(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size();
}

std::string SettingPlans::valueOr(const SettingValues& values, const std::string& name) {
    const auto found = values.find(name);
    return found == values.end() ? std::string() : found->second;
}

} // namespace kestrava
