#include "cli/NetParamsGroup.h"

#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "exchange/TextCodec.h"
#include "forms/NetForm.h"
#include "protocol/ReplyKind.h"

#include <iterator>
#include <optional>

namespace kestrava {

namespace {

const std::string kSection = "NetParams";

std::string name(const char* key) {
    return kSection + '.' + key;
}

std::string text(const ByteString& bytes) {
    return TextCodec::toText(bytes).toStdString();
}

// A whole number in minimum..maximum written with digits only, or nothing.
std::optional<int> wholeNumber(const std::string& value, int minimum, int maximum) {
    if (value.empty() || value.size() > 9 ||
        value.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int number = std::stoi(value);
    if (number < minimum || number > maximum) {
        return std::nullopt;
    }
    return number;
}

struct NumberKey {
    const char* key;
    int minimum;
    int maximum;
};

// The keys that are plain numbers on the command line; the page's own checks (port, group and
// sub group digits) are left to the form.
constexpr NumberKey kNumberKeys[] = {{"CommunicationMode", 0, 2},
                                     {"NetMode", 0, 1},
                                     {"GroupID1", 0, 9999},
                                     {"GroupID2", 0, 999},
                                     {"UserID", 0, 999},
                                     {"IP1", 0, 255},
                                     {"IP2", 0, 255},
                                     {"IP3", 0, 255},
                                     {"IP4", 0, 255}};

QString valueText(const SettingValues& values, const char* key) {
    const auto found = values.find(name(key));
    return found == values.end() ? QString() : QString::fromStdString(found->second);
}

} // namespace

std::vector<SettingKey> NetParamsGroup::keys() const {
    return {
        {kSection, "APNName", "access point name, at most 30 bytes"},
        {kSection, "CommunicationMode", "0 GPRS, 1 GSM, 2 CDMA", true, SettingCompare::Number},
        {kSection, "GroupID1", "first four digits of the user group ID, 0-9999 (IntRTK)", true,
         SettingCompare::Number},
        {kSection, "GroupID2", "last three digits of the user group ID, 0-255 (IntRTK)", true,
         SettingCompare::Number},
        {kSection, "IP1", "server IPv4 address, first number 0-255 (when isUrl=false)", true,
         SettingCompare::Number},
        {kSection, "IP2", "server IPv4 address, second number 0-255", true, SettingCompare::Number},
        {kSection, "IP3", "server IPv4 address, third number 0-255", true, SettingCompare::Number},
        {kSection, "IP4", "server IPv4 address, fourth number 0-255", true, SettingCompare::Number},
        {kSection, "isUrl", "true: the server is URL; false: the server is IP1.IP2.IP3.IP4", true,
         SettingCompare::Switch},
        {kSection, "NetMode", "0 VRS (caster login), 1 IntRTK (group IDs)", true,
         SettingCompare::Number},
        {kSection, "phoneNumber", "dial number (GSM), at most 16 bytes"},
        {kSection, "Port", "server port, 0-65535 (not checked in GSM mode)", true,
         SettingCompare::Number},
        {kSection, "SourceNode", "mount point, at most 30 bytes"},
        {kSection, "URL", "server name (when isUrl=true), at most 30 bytes"},
        {kSection, "UserID", "sub group ID, 0-255 (IntRTK)", true, SettingCompare::Number},
        {kSection, "VRSName",
         "caster user name (VRS; not blank); name and password together at most 41 bytes"},
        {kSection, "VRSPassWord", "caster password (VRS; not blank)"},
    };
}

SettingValues NetParamsGroup::valuesOf(const NetParams& record) {
    return {
        {name("APNName"), text(record.apnName)},
        {name("CommunicationMode"), std::to_string(record.communicationMode)},
        {name("GroupID1"), std::to_string(record.groupId1)},
        {name("GroupID2"), std::to_string(record.groupId2)},
        {name("IP1"), std::to_string(record.ip[0])},
        {name("IP2"), std::to_string(record.ip[1])},
        {name("IP3"), std::to_string(record.ip[2])},
        {name("IP4"), std::to_string(record.ip[3])},
        {name("isUrl"), record.isUrl ? "true" : "false"},
        {name("NetMode"), std::to_string(record.netMode)},
        {name("phoneNumber"), text(record.phoneNumber)},
        {name("Port"), std::to_string(record.port)},
        {name("SourceNode"), text(record.sourceNode)},
        {name("URL"), text(record.url)},
        {name("UserID"), std::to_string(record.userId)},
        {name("VRSName"), text(record.vrsName)},
        {name("VRSPassWord"), text(record.vrsPassword)},
    };
}

CliOutcome NetParamsGroup::read(ReceiverSession& session, SettingValues& values) {
    session.view().net.reset();
    const std::optional<int> reply = session.request(
        [&session] { session.exchange().request(CommandId::ReadNetParams); }, {KindNetParams});
    if (!reply || !session.view().net) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    for (const auto& [key, value] : valuesOf(*session.view().net)) {
        values[key] = value;
    }
    return {};
}

bool NetParamsGroup::carries(const SettingKey& key, const SettingValues& values) const {
    const QString isUrl = valueText(values, "isUrl").toLower();
    const bool url = isUrl == QLatin1String("true") || isUrl == QLatin1String("1");
    if (key.key == "URL") {
        return url;
    }
    if (key.key == "IP1" || key.key == "IP2" || key.key == "IP3" || key.key == "IP4") {
        return !url;
    }
    return true;
}

CliOutcome NetParamsGroup::check(const SettingValues& values) const {
    NetParams record;
    return validate(values, record);
}

CliOutcome NetParamsGroup::write(ReceiverSession& session, const SettingValues& values) {
    NetParams record;
    const CliOutcome refused = validate(values, record);
    if (!refused.ok()) {
        return refused;
    }
    session.settings().net = record;
    const std::optional<int> reply = session.request(
        [&] {
            session.exchange().request(CommandId::SetNetParams, requestargs::SetNetParams{record});
        },
        {KindNetParamsSet});
    if (!reply) {
        return {kCliNoReply, ReceiverSession::silenceText()};
    }
    return {kCliOk, session.view().tip.toStdString()};
}

CliOutcome NetParamsGroup::validate(const SettingValues& values, NetParams& record) {
    int numbers[std::size(kNumberKeys)] = {};
    for (std::size_t i = 0; i < std::size(kNumberKeys); ++i) {
        const NumberKey& key = kNumberKeys[i];
        const auto found = values.find(name(key.key));
        const std::optional<int> number =
            found == values.end() ? std::nullopt
                                  : wholeNumber(found->second, key.minimum, key.maximum);
        if (!number) {
            return {kCliRefused, name(key.key) + " should be a number between " +
                                     std::to_string(key.minimum) + " and " +
                                     std::to_string(key.maximum)};
        }
        numbers[i] = *number;
    }
    const QString isUrl = valueText(values, "isUrl").toLower();
    if (isUrl != QLatin1String("true") && isUrl != QLatin1String("false") &&
        isUrl != QLatin1String("1") && isUrl != QLatin1String("0")) {
        return {kCliRefused, name("isUrl") + " should be true or false"};
    }

    // The texts the Net page would hold for these values.
    NetForm::Input input;
    input.communicationMode = numbers[0];
    input.netMode = numbers[1];
    input.userGroupId = QStringLiteral("%1%2")
                            .arg(numbers[2], 4, 10, QLatin1Char('0'))
                            .arg(numbers[3], 3, 10, QLatin1Char('0'));
    input.subGroupId = QStringLiteral("%1").arg(numbers[4], 3, 10, QLatin1Char('0'));
    const bool url = isUrl == QLatin1String("true") || isUrl == QLatin1String("1");
    input.address = url ? valueText(values, "URL")
                        : QStringLiteral("%1.%2.%3.%4")
                              .arg(numbers[5])
                              .arg(numbers[6])
                              .arg(numbers[7])
                              .arg(numbers[8]);
    input.port = valueText(values, "Port");
    input.apn = valueText(values, "APNName");
    input.phone = valueText(values, "phoneNumber");
    input.userName = valueText(values, "VRSName");
    input.password = valueText(values, "VRSPassWord");
    input.mountPoint = valueText(values, "SourceNode");

    const FormResult<NetParams> result = NetForm::validate(input);
    if (!result.ok()) {
        return {kCliRefused, result.refusal().toStdString()};
    }
    record = result.record();
    return {};
}

} // namespace kestrava
