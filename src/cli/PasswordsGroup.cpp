#include "cli/PasswordsGroup.h"

#include "cli/PasswordVerb.h"

#include <QString>

namespace kestrava {
namespace {

const std::string kRemote = "Passwords.Remote";
const std::string kWifi = "Passwords.Wifi";

} // namespace

std::vector<SettingKey> PasswordsGroup::keys() const {
    return {
        {"Passwords", "Remote",
         "remote connection password, letters and digits (sent as its MD5 digest)", false},
        {"Passwords", "Wifi", "WiFi password, 8-30 letters and digits (WiFi receivers)", false}};
}

CliOutcome PasswordsGroup::read(ReceiverSession&, SettingValues&) {
    return {};
}

CliOutcome PasswordsGroup::check(const SettingValues& values) const {
    if (const auto remote = values.find(kRemote); remote != values.end()) {
        const std::string refusal =
            PasswordVerb::checkRemote(QString::fromStdString(remote->second));
        if (!refusal.empty()) {
            return {kCliRefused, refusal};
        }
    }
    if (const auto wifi = values.find(kWifi); wifi != values.end()) {
        const std::string refusal = PasswordVerb::checkWifi(QString::fromStdString(wifi->second));
        if (!refusal.empty()) {
            return {kCliRefused, refusal};
        }
    }
    return {};
}

CliOutcome PasswordsGroup::write(ReceiverSession& session, const SettingValues& values) {
    CliOutcome outcome;
    if (const auto remote = values.find(kRemote); remote != values.end()) {
        outcome = PasswordVerb::setRemote(session, QString::fromStdString(remote->second));
        if (!outcome.ok()) {
            return outcome;
        }
    }
    if (const auto wifi = values.find(kWifi); wifi != values.end()) {
        outcome = PasswordVerb::setWifi(session, QString::fromStdString(wifi->second));
    }
    return outcome;
}

} // namespace kestrava
