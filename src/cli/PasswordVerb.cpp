#include "cli/PasswordVerb.h"

#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "forms/PasswordForm.h"
#include "protocol/ReplyKind.h"
#include "settings/SettingTable.h"

#include <optional>

namespace kestrava {

namespace {

constexpr int kWifiSuccess = 0;

// Whether the receiver has the password of key, as the window shows its group or not.
bool offered(const char* key, Byte typeCode) {
    return SettingTable::offered(SettingTable::find("Passwords", key)->receivers, typeCode);
}

int refuse(PortVerbContext& c, int status, const std::string& message) {
    c.err << message << '\n';
    return status;
}

} // namespace

PortVerb PasswordVerb::verb() {
    return {"password",
            "remote NEW | wifi NEW",
            "Set the remote connection password (letters and digits, sent as its MD5 digest)\n"
            "or the WiFi password (8-30 letters and digits; receivers with WiFi only) and wait\n"
            "for the receiver to confirm.",
            true,
            [](const std::vector<std::string>& args, SettingsVerbs&) { return check(args); },
            run};
}

std::string PasswordVerb::check(const std::vector<std::string>& args) {
    if (args.size() != 2 || (args[0] != "remote" && args[0] != "wifi")) {
        return "password: usage: password remote NEW | password wifi NEW";
    }
    return {};
}

int PasswordVerb::run(PortVerbContext& c) {
    const QString password = QString::fromStdString(c.args.at(1));
    const CliOutcome outcome =
        c.args.at(0) == "remote" ? setRemote(c.session, password) : setWifi(c.session, password);
    if (!outcome.ok()) {
        return refuse(c, outcome.status, outcome.message);
    }
    c.out << outcome.message << '\n';
    return kCliOk;
}

std::string PasswordVerb::checkRemote(const QString& password) {
    const FormResult<QString> result = PasswordForm::remote(password, password);
    return result.ok() ? std::string() : result.refusal().toStdString();
}

std::string PasswordVerb::checkWifi(const QString& password) {
    const FormResult<QString> result = PasswordForm::wifi(password);
    return result.ok() ? std::string() : result.refusal().toStdString();
}

CliOutcome PasswordVerb::setRemote(ReceiverSession& session, const QString& password) {
    const Byte typeCode =
        session.view().mainInfo ? session.view().mainInfo->receiverTypeCode : Byte{0};
    // The window shows this group on every receiver but the static-only ones.
    if (!offered("Remote", typeCode)) {
        return {kCliRefused, "This receiver has no remote connection password"};
    }
    const FormResult<QString> result = PasswordForm::remote(password, password);
    if (!result.ok()) {
        return {kCliRefused, result.refusal().toStdString()};
    }
    const RequestOutcome reply = session.request(CommandId::SetRemotePassword,
                                                 requestargs::SetRemotePassword{result.record()});
    if (!reply.repliedWith(KindRemotePasswordSet)) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    if (reply.value != 0) {
        return {kCliFailed, session.view().tip.toStdString()};
    }
    return {kCliOk, session.view().tip.toStdString()};
}

CliOutcome PasswordVerb::setWifi(ReceiverSession& session, const QString& password) {
    const Byte typeCode =
        session.view().mainInfo ? session.view().mainInfo->receiverTypeCode : Byte{0};
    // The window shows the WiFi group only for receivers with a WiFi module.
    if (!offered("Wifi", typeCode)) {
        return {kCliRefused, "This receiver has no WiFi password"};
    }
    const FormResult<QString> result = PasswordForm::wifi(password);
    if (!result.ok()) {
        return {kCliRefused, result.refusal().toStdString()};
    }
    const RequestOutcome reply = session.request(
        CommandId::SetWifiPassword, requestargs::SetWifiPassword{std::nullopt, result.record()});
    if (!reply.repliedWith(KindWifiSet)) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    if (reply.value != kWifiSuccess) {
        const QString tip = session.view().tip;
        return {kCliFailed,
                tip.isEmpty() ? std::string("Set Wifi Password failed") : tip.toStdString()};
    }
    return {kCliOk, session.view().tip.toStdString()};
}

} // namespace kestrava
