#include "cli/PasswordVerb.h"

#include "cli/ReceiverSession.h"
#include "cli/SettingGroup.h"
#include "exchange/CommandExchange.h"
#include "forms/PasswordForm.h"
#include "protocol/ReplyKind.h"

#include <optional>

namespace kestrava {

namespace {

constexpr int kWifiSuccess = 0;

bool isStaticOnly(Byte code) {
    return code == '4' || code == '5' || code == '6';
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
    ReceiverSession& session = c.session;
    const QString password = QString::fromStdString(c.args.at(1));
    const Byte typeCode =
        session.view().mainInfo ? session.view().mainInfo->receiverTypeCode : Byte{0};

    if (c.args.at(0) == "remote") {
        // The window shows this group on every receiver but the static-only ones.
        if (isStaticOnly(typeCode)) {
            return refuse(c, kCliRefused, "This receiver has no remote connection password");
        }
        const FormResult<QString> result = PasswordForm::remote(password, password);
        if (!result.ok()) {
            return refuse(c, kCliRefused, result.refusal().toStdString());
        }
        const std::optional<int> reply =
            session.request([&] { session.exchange().SetRemotePassword(result.record()); },
                            {KindRemotePasswordSet});
        if (!reply) {
            return refuse(c, kCliNoReply, "No reply from receiver");
        }
        if (*reply != 0) {
            return refuse(c, kCliFailed, session.view().tip.toStdString());
        }
        c.out << session.view().tip.toStdString() << '\n';
        return kCliOk;
    }

    // The window shows the WiFi group only for receivers with a WiFi module.
    if (typeCode <= 'Y') {
        return refuse(c, kCliRefused, "This receiver has no WiFi password");
    }
    const FormResult<QString> result = PasswordForm::wifi(password);
    if (!result.ok()) {
        return refuse(c, kCliRefused, result.refusal().toStdString());
    }
    const std::optional<int> reply = session.request(
        [&] { session.exchange().SetWifiPassword(result.record()); }, {KindWifiSet});
    if (!reply) {
        return refuse(c, kCliNoReply, "No reply from receiver");
    }
    if (*reply != kWifiSuccess) {
        const QString tip = session.view().tip;
        return refuse(c, kCliFailed,
                      tip.isEmpty() ? std::string("Set Wifi Password failed") : tip.toStdString());
    }
    c.out << session.view().tip.toStdString() << '\n';
    return kCliOk;
}

} // namespace kestrava
