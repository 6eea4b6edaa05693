#include "cli/SettingBindings.h"

#include "cli/PasswordVerb.h"
#include "cli/ReceiverSession.h"
#include "exchange/CommandExchange.h"
#include "exchange/TextCodec.h"
#include "forms/AdvancedForm.h"
#include "forms/ApnForm.h"
#include "forms/FormText.h"
#include "forms/NetForm.h"
#include "forms/NmeaForm.h"
#include "forms/RadioForm.h"
#include "forms/StaticForm.h"
#include "protocol/ReplyKind.h"

#include <QStringList>

#include <array>
#include <iterator>
#include <memory>
#include <utility>

namespace kestrava {

namespace a = requestargs;

namespace {

using G = SettingGroupId;

// The location has a reply timer of its own; the RINEX flag is read after it either way.
constexpr int kChainWaitMs =
    CommandExchange::kStoreLocationTimeoutMs + ReceiverSession::kReplyWaitMs;
// The read of both is given the session's reply wait once more for the flag.
constexpr int kLocationReadWaitMs = kChainWaitMs + ReceiverSession::kReplyWaitMs;
// A radio command gets its answer within the radio's time-out, or the time-out's text.
constexpr int kRadioWaitMs = CommandExchange::kRadioTimeoutMs + 1000;
// The board does not answer its output commands; the port is given this long to send them
// before it is closed.
constexpr int kDrainMs = 300;

// The value of name as the form sees a typed text; empty when it is missing.
QString text(const SettingValues& values, const std::string& name) {
    const auto found = values.find(name);
    return found == values.end() ? QString() : QString::fromStdString(found->second);
}

// One command of a set; a reply of 0 fails it with `failed` when that is given.
SettingStep step(CommandId command, RequestArguments arguments, std::vector<int> kinds,
                 int waitMs = 0, const char* failed = nullptr,
                 std::function<void(ReceiverSession&)> before = {}) {
    return {command, std::move(arguments), std::move(kinds), waitMs,
            failed,  std::move(before),    std::nullopt};
}

// The same for a chain of the exchange that begins with command.
SettingStep chainStep(RequestChain chain, CommandId command, RequestArguments arguments,
                      std::vector<int> kinds, int waitMs, const char* failed,
                      std::function<void(ReceiverSession&)> before) {
    SettingStep s =
        step(command, std::move(arguments), std::move(kinds), waitMs, failed, std::move(before));
    s.chain = chain;
    return s;
}

CliOutcome refused(const QString& english) {
    return {kCliRefused, english.toStdString()};
}

std::string bytesText(const ByteString& bytes) {
    return TextCodec::toText(bytes).toStdString();
}

std::string flag(bool on) {
    return on ? "1" : "0";
}

// ---- NetParams -----------------------------------------------------------------------------

std::string net(const char* key) {
    return std::string("NetParams.") + key;
}

// The keys that are plain numbers on the command line, in the order they are checked; the
// page's own checks (port, group and sub group digits) are left to the form.
constexpr const char* kNetNumbers[] = {
    "CommunicationMode", "NetMode", "GroupID1", "GroupID2", "UserID", "IP1", "IP2", "IP3", "IP4"};

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

CliOutcome outOfRange(const SettingKeyRow& row) {
    return {kCliRefused, net(row.key) + " should be a number between " +
                             std::to_string(row.range.minimum) + " and " +
                             std::to_string(row.range.maximum)};
}

bool isUrl(const SettingValues& values) {
    const QString url = text(values, net("isUrl")).toLower();
    return url == QLatin1String("true") || url == QLatin1String("1");
}

bool netValues(const RequestOutcome& outcome, SettingValues& values) {
    const NetParams* read = outcome.record<NetParams>(KindNetParams);
    if (read == nullptr) {
        return false;
    }
    const NetParams& record = *read;
    values[net("APNName")] = bytesText(record.apnName);
    values[net("CommunicationMode")] = std::to_string(record.communicationMode);
    values[net("GroupID1")] = std::to_string(record.groupId1);
    values[net("GroupID2")] = std::to_string(record.groupId2);
    for (std::size_t i = 0; i < record.ip.size(); ++i) {
        values[net("IP") + std::to_string(i + 1)] = std::to_string(record.ip[i]);
    }
    values[net("isUrl")] = record.isUrl ? "true" : "false";
    values[net("NetMode")] = std::to_string(record.netMode);
    values[net("phoneNumber")] = bytesText(record.phoneNumber);
    values[net("Port")] = std::to_string(record.port);
    values[net("SourceNode")] = bytesText(record.sourceNode);
    values[net("URL")] = bytesText(record.url);
    values[net("UserID")] = std::to_string(record.userId);
    values[net("VRSName")] = bytesText(record.vrsName);
    values[net("VRSPassWord")] = bytesText(record.vrsPassword);
    return true;
}

bool netCarries(const std::string& key, const SettingValues& values) {
    const bool url = isUrl(values);
    if (key == "URL") {
        return url;
    }
    if (key == "IP1" || key == "IP2" || key == "IP3" || key == "IP4") {
        return !url;
    }
    return true;
}

CliOutcome netForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    std::array<int, std::size(kNetNumbers)> numbers{};
    std::array<const SettingKeyRow*, std::size(kNetNumbers)> rows{};
    for (std::size_t i = 0; i < std::size(kNetNumbers); ++i) {
        const SettingKeyRow& row = *SettingTable::find("NetParams", kNetNumbers[i]);
        rows[i] = &row;
        // A group ID is taken as the page's edit holds it, three digits at most; its range is
        // the form's to refuse in the page's words.
        const int maximum = row.check == SettingCheck::RangeAfterForm ? 999 : row.range.maximum;
        const auto found = values.find(net(row.key));
        const std::optional<int> number =
            found == values.end() ? std::nullopt
                                  : wholeNumber(found->second, row.range.minimum, maximum);
        if (!number) {
            return outOfRange(row);
        }
        numbers[i] = *number;
    }
    const QString url = text(values, net("isUrl")).toLower();
    if (url != QLatin1String("true") && url != QLatin1String("false") &&
        url != QLatin1String("1") && url != QLatin1String("0")) {
        return {kCliRefused, net("isUrl") + " should be true or false"};
    }

    // The texts the Net page would hold for these values.
    NetForm::Input input;
    input.communicationMode = numbers[0];
    input.netMode = numbers[1];
    input.userGroupId = QStringLiteral("%1%2")
                            .arg(numbers[2], 4, 10, QLatin1Char('0'))
                            .arg(numbers[3], 3, 10, QLatin1Char('0'));
    input.subGroupId = QStringLiteral("%1").arg(numbers[4], 3, 10, QLatin1Char('0'));
    input.address = isUrl(values) ? text(values, net("URL"))
                                  : QStringLiteral("%1.%2.%3.%4")
                                        .arg(numbers[5])
                                        .arg(numbers[6])
                                        .arg(numbers[7])
                                        .arg(numbers[8]);
    input.port = text(values, net("Port"));
    input.apn = text(values, net("APNName"));
    input.phone = text(values, net("phoneNumber"));
    input.userName = text(values, net("VRSName"));
    input.password = text(values, net("VRSPassWord"));
    input.mountPoint = text(values, net("SourceNode"));

    const FormResult<NetParams> result = NetForm::validate(input);
    if (!result.ok()) {
        return refused(result.refusal());
    }
    // Where the page does not check a group ID (VRS mode), its field still has 8 bits only.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i]->check == SettingCheck::RangeAfterForm && numbers[i] > rows[i]->range.maximum) {
            return outOfRange(*rows[i]);
        }
    }
    const NetParams record = result.record();
    send.steps.push_back(
        step(CommandId::SetNetParams, a::SetNetParams{record}, {KindNetParamsSet}, 0, nullptr,
             [record](ReceiverSession& session) { session.settings().net = record; }));
    return {};
}

// ---- ANPParams -----------------------------------------------------------------------------

const std::string kApnUser = "ANPParams.APNUsername";
const std::string kApnPassword = "ANPParams.APNPassWord";

bool apnValues(const RequestOutcome& outcome, SettingValues& values) {
    const TextPair* login = outcome.record<TextPair>(KindApnParams);
    if (login == nullptr) {
        return false;
    }
    values[kApnUser] = bytesText(login->first);
    values[kApnPassword] = bytesText(login->second);
    return true;
}

CliOutcome apnForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    const FormResult<ApnForm::Login> result =
        ApnForm::validate(text(values, kApnUser), text(values, kApnPassword));
    if (!result.ok()) {
        return refused(result.refusal());
    }
    const ApnForm::Login login = result.record();
    send.steps.push_back(
        step(CommandId::SetApnParams, a::SetApnParams{login.userName, login.password},
             {KindApnParamsSet}, 0, nullptr, [login](ReceiverSession& session) {
                 session.settings().apnUserName = TextCodec::toBytes(login.userName);
                 session.settings().apnPassword = TextCodec::toBytes(login.password);
             }));
    return {};
}

// ---- CollectParams -------------------------------------------------------------------------

const std::string kInterval = "CollectParams.CollecInterval";
const std::string kCutOff = "CollectParams.CutOff";

bool collectValues(const RequestOutcome& outcome, SettingValues& values) {
    if (!outcome.repliedWith(KindCollectParams)) {
        return false;
    }
    const IntPair collect = outcome.carried<IntPair>(KindCollectParams).value_or(IntPair{});
    values[kInterval] = std::to_string(collect.first);
    values[kCutOff] = std::to_string(collect.second);
    return true;
}

CliOutcome collectForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    const auto form = StaticForm::collect(text(values, kInterval), text(values, kCutOff));
    if (!form.ok()) {
        return refused(form.refusal());
    }
    const StaticForm::Collect record = form.record();
    send.steps.push_back(step(CommandId::SetCollectParams,
                              a::SetCollectParams{record.intervalSeconds, record.cutoffDegrees},
                              {KindCollectParamsSet}, 0, nullptr,
                              [record](ReceiverSession& session) {
                                  session.settings().collectInterval = record.intervalSeconds;
                                  session.settings().cutOff = record.cutoffDegrees;
                              }));
    return {};
}

// ---- FileParams ----------------------------------------------------------------------------

const std::string kPrefix = "FileParams.FilePrefix";
const std::string kSerial = "FileParams.FileSN";

bool namingValues(const RequestOutcome& outcome, SettingValues& values) {
    const TextPair* naming = outcome.record<TextPair>(KindFileNaming);
    if (naming == nullptr) {
        return false;
    }
    values[kPrefix] = bytesText(naming->first);
    values[kSerial] = bytesText(naming->second);
    return true;
}

CliOutcome namingForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    const auto form = StaticForm::naming(text(values, kPrefix), text(values, kSerial));
    if (!form.ok()) {
        return refused(form.refusal());
    }
    const StaticForm::Naming record = form.record();
    // The receiver's confirmation is followed by a read of what it now holds.
    send.steps.push_back(chainStep(RequestChain::FileNaming, CommandId::SetFileNaming,
                                   a::SetFileNaming{record.prefix, record.serial}, {KindFileNaming},
                                   0, nullptr, [record](ReceiverSession& session) {
                                       session.settings().filePrefix =
                                           FormText::bytes(record.prefix);
                                       session.settings().fileSn = FormText::bytes(record.serial);
                                   }));
    return {};
}

// ---- StoreLocation -------------------------------------------------------------------------

const std::string kLocation = "OtherParams.StaticLocation";
const std::string kRinex = "OtherParams.Rinex";

// The location times out into the flag's read: the read ends with the flag, and the location's
// answer is the chain's first step.
bool locationValues(const RequestOutcome& outcome, SettingValues& values) {
    const std::optional<std::int32_t> rinex = outcome.carried<std::int32_t>(KindRinexFlag);
    if (!rinex || outcome.steps.empty() || !outcome.steps.front().repliedWith(KindStoreLocation)) {
        return false;
    }
    values[kLocation] = flag(outcome.steps.front().value == 1);
    values[kRinex] = flag(*rinex != 0);
    return true;
}

CliOutcome locationForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    const auto location =
        StaticForm::onOff(text(values, kLocation), QString::fromStdString(kLocation));
    if (!location.ok()) {
        return refused(location.refusal());
    }
    const auto rinex = StaticForm::onOff(text(values, kRinex), QString::fromStdString(kRinex));
    if (!rinex.ok()) {
        return refused(rinex.refusal());
    }
    const bool card = location.record();
    const bool record = rinex.record();
    send.steps.push_back(chainStep(RequestChain::SetStoreLocation, CommandId::SetStoreLocation,
                                   a::SetStoreLocation{card}, {KindRinexFlagSet}, kChainWaitMs,
                                   "Fail to set Whether to record Rinex",
                                   [card, record](ReceiverSession& session) {
                                       session.settings().staticLocation = card ? 1 : 0;
                                       session.settings().rinex = record ? 1 : 0;
                                   }));
    return {};
}

// ---- StaticVoice ---------------------------------------------------------------------------

const std::string kStaticVoice = "OtherParams.StaticVoice";

bool staticVoiceValues(const RequestOutcome& outcome, SettingValues& values) {
    if (!outcome.repliedWith(KindStaticVoice)) {
        return false;
    }
    values[kStaticVoice] = flag(outcome.value != 0);
    return true;
}

CliOutcome staticVoiceForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    const auto on =
        StaticForm::onOff(text(values, kStaticVoice), QString::fromStdString(kStaticVoice));
    if (!on.ok()) {
        return refused(on.refusal());
    }
    send.steps.push_back(step(CommandId::SetStaticVoice, a::SetStaticVoice{on.record()},
                              {KindStaticVoiceSet}, 0, "Fail to set StaticVoice"));
    return {};
}

// ---- Band ----------------------------------------------------------------------------------

const std::string k2G = "OtherParams.Band2G";
const std::string k3G = "OtherParams.Band3G";

bool bandValues(const RequestOutcome& outcome, SettingValues& values) {
    if (!outcome.repliedWith(KindNetBand)) {
        return false;
    }
    const IntPair bands = outcome.carried<IntPair>(KindNetBand).value_or(IntPair{});
    values[k2G] = std::to_string(bands.first);
    values[k3G] = std::to_string(bands.second);
    return true;
}

// The lists are those of the module the band reply named; before one, the main information's.
// Without the receiver the module is not known: the set judges.
CliOutcome bandForm(const SettingValues& values, ReceiverSession* session, SettingSend& send) {
    if (session == nullptr) {
        return {};
    }
    // The decoder keeps the module of the last band reply, or else of the main information.
    const int module = session->exchange().decoderState().moduleCode;
    const FormResult<BandChoice> choice =
        AdvancedForm::band(module, text(values, k2G), text(values, k3G));
    if (!choice.ok()) {
        return refused(choice.refusal());
    }
    send.steps.push_back(step(CommandId::SetNetModuleBand,
                              a::SetNetModuleBand{choice.record().band2G, choice.record().band3G},
                              {KindNetBandSet}));
    return {};
}

// ---- Voice ---------------------------------------------------------------------------------

const std::string kVoice = "OtherParams.Voice";
const std::string kVolume = "OtherParams.Volume";

bool voiceValues(const RequestOutcome& outcome, SettingValues& values) {
    if (!outcome.repliedWith(KindVoiceParams)) {
        return false;
    }
    const BytePair voice = outcome.carried<BytePair>(KindVoiceParams).value_or(BytePair{});
    values[kVoice] = std::to_string(static_cast<int>(voice.first));
    values[kVolume] = std::to_string(static_cast<int>(voice.second));
    return true;
}

// Each value is set by reading the voice block for a set: its reply sends the set with the rest
// of the block kept, and the receiver's answer says whether it took the value.
CliOutcome voiceForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    const FormResult<Byte> voice = AdvancedForm::voiceCode(text(values, kVoice));
    if (!voice.ok()) {
        return refused(voice.refusal());
    }
    const FormResult<Byte> volume = AdvancedForm::volume(text(values, kVolume));
    if (!volume.ok()) {
        return refused(volume.refusal());
    }
    const Byte type = voice.record();
    const Byte level = volume.record();
    send.steps.push_back(
        chainStep(RequestChain::VoiceType, CommandId::ReadVoiceBlock, a::SetVoiceType{type},
                  {KindVoiceTypeSet}, 0, "Fail to set Voice Type",
                  [type](ReceiverSession& session) { session.settings().voice = type; }));
    send.steps.push_back(
        chainStep(RequestChain::Volume, CommandId::ReadVoiceBlock, a::SetVolume{level},
                  {KindVolumeSet}, 0, "Fail to set volume",
                  [level](ReceiverSession& session) { session.settings().volume = level; }));
    return {};
}

// ---- NMEA ----------------------------------------------------------------------------------

const std::string kNmea = "OtherParams.NMEA";

CliOutcome nmeaForm(const SettingValues& values, ReceiverSession*, SettingSend&) {
    const auto found = values.find(kNmea);
    if (found == values.end()) {
        return {};
    }
    const FormResult<NmeaOutputChoice> choice =
        NmeaForm::parse(QString::fromStdString(found->second));
    return choice.ok() ? CliOutcome{} : refused(choice.refusal());
}

// The board does not answer: a choice that could be sent is given time to go out.
CliOutcome nmeaWrite(ReceiverSession& session, const SettingValues& values) {
    const auto found = values.find(kNmea);
    if (found == values.end()) {
        return {};
    }
    const FormResult<NmeaOutputChoice> choice =
        NmeaForm::parse(QString::fromStdString(found->second));
    if (!choice.ok()) {
        return refused(choice.refusal());
    }
    session.settings().nmea = choice.record();
    session.view().messages.clear();
    // Nothing written is told at once; a frame that went out may leave its outcome for later.
    const auto told = std::make_shared<std::optional<RequestOutcome::Result>>();
    session.exchange().request(CommandId::SetNmeaOutput, a::SetNmeaOutput{choice.record()},
                               [told](const RequestOutcome& outcome) {
                                   if (!*told) {
                                       *told = outcome.result;
                                   }
                               });
    if (*told == RequestOutcome::Result::NotSent) {
        const QStringList& boxes = session.view().messages;
        return {kCliRefused, boxes.isEmpty() ? std::string("Please open port first")
                                             : boxes.last().toStdString()};
    }
    session.pause(kDrainMs);
    return {kCliOk, "NMEA output sent"};
}

// ---- HZParams ------------------------------------------------------------------------------

std::string channelName(const char* stem, int channel) {
    return std::string("HZParams.") + stem + std::to_string(channel);
}

bool channelValues(const RequestOutcome& outcome, SettingValues& values) {
    const ChannelTable* table = outcome.record<ChannelTable>(KindRadioChannels);
    if (table == nullptr) {
        return false;
    }
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        const ChannelPair& pair = (*table)[static_cast<std::size_t>(channel)];
        values[channelName("HZSend", channel)] =
            RadioForm::frequencyText(pair.transmit).toStdString();
        values[channelName("HZReceive", channel)] =
            RadioForm::frequencyText(pair.receive).toStdString();
    }
    return true;
}

CliOutcome channelForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    // A value off the radio's steps is named by its key, so the user knows which one to fix.
    QStringList transmit;
    QStringList receive;
    for (int channel = 0; channel < RadioForm::kChannels; ++channel) {
        for (const std::string& name :
             {channelName("HZSend", channel), channelName("HZReceive", channel)}) {
            const FormResult<float> frequency = RadioForm::frequency(text(values, name));
            if (!frequency.ok() && frequency.refusalKey() != RadioForm::formatMessage()) {
                return {kCliRefused, name + ": " + frequency.refusal().toStdString()};
            }
        }
        transmit.append(text(values, channelName("HZSend", channel)));
        receive.append(text(values, channelName("HZReceive", channel)));
    }
    const FormResult<ChannelTable> table = RadioForm::channels(transmit, receive);
    if (!table.ok()) {
        return refused(table.refusal());
    }
    const ChannelTable record = table.record();
    send.steps.push_back(
        step(CommandId::WriteRadioChannels, a::WriteRadioChannels{record}, {KindRadioChannelsSet},
             kRadioWaitMs, nullptr,
             [record](ReceiverSession& session) { session.settings().channels = record; }));
    return {};
}

const std::string kAirBaud = "HZParams.AirBaud";

bool airBaudValues(const RequestOutcome& outcome, SettingValues& values) {
    if (!outcome.repliedWith(KindRadioAirBaud)) {
        return false;
    }
    const std::int32_t rate = outcome.carried<std::int32_t>(KindRadioAirBaud).value_or(0);
    // As the page shows it: 19200 is 19200, any other rate the slower one.
    values[kAirBaud] = rate == RadioForm::kFastAirBaud ? "19200" : "9600";
    return true;
}

CliOutcome airBaudForm(const SettingValues& values, ReceiverSession*, SettingSend& send) {
    const FormResult<std::int32_t> rate = RadioForm::airBaud(text(values, kAirBaud));
    if (!rate.ok()) {
        return refused(rate.refusal());
    }
    send.steps.push_back(step(CommandId::SetAirBaud, a::SetAirBaud{rate.record()},
                              {KindRadioAirBaudSet}, kRadioWaitMs));
    return {};
}

// ---- Passwords -----------------------------------------------------------------------------

const std::string kRemote = "Passwords.Remote";
const std::string kWifi = "Passwords.Wifi";

CliOutcome passwordForm(const SettingValues& values, ReceiverSession*, SettingSend&) {
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

// The password verb's own sets, each confirmed by the receiver.
CliOutcome passwordWrite(ReceiverSession& session, const SettingValues& values) {
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

SettingBinding netBinding() {
    SettingBinding b;
    b.group = G::NetParams;
    b.readKinds = {KindNetParams};
    b.values = netValues;
    b.reportsTip = true;
    b.form = netForm;
    b.carries = netCarries;
    return b;
}

SettingBinding apnBinding() {
    SettingBinding b;
    b.group = G::ApnParams;
    b.readKinds = {KindApnParams};
    b.values = apnValues;
    b.reportsTip = true;
    b.form = apnForm;
    return b;
}

SettingBinding collectBinding() {
    SettingBinding b;
    b.group = G::CollectParams;
    b.readKinds = {KindCollectParams};
    b.values = collectValues;
    b.form = collectForm;
    return b;
}

SettingBinding namingBinding() {
    SettingBinding b;
    b.group = G::FileParams;
    b.readKinds = {KindFileNaming};
    b.values = namingValues;
    b.form = namingForm;
    return b;
}

SettingBinding locationBinding() {
    SettingBinding b;
    b.group = G::StoreLocation;
    b.readChain = RequestChain::ReadStoreLocation;
    b.readKinds = {KindRinexFlag};
    b.readWaitMs = kLocationReadWaitMs;
    b.values = locationValues;
    b.form = locationForm;
    return b;
}

SettingBinding staticVoiceBinding() {
    SettingBinding b;
    b.group = G::StaticVoice;
    b.readKinds = {KindStaticVoice};
    b.values = staticVoiceValues;
    b.form = staticVoiceForm;
    return b;
}

SettingBinding bandBinding() {
    SettingBinding b;
    b.group = G::Band;
    b.readKinds = {KindNetBand};
    b.values = bandValues;
    b.asksTip = true;
    b.reportsTip = true;
    b.form = bandForm;
    return b;
}

SettingBinding voiceBinding() {
    SettingBinding b;
    b.group = G::Voice;
    b.readArguments = a::ReadVoiceBlock{false, a::ReadVoiceBlock::kVoiceType};
    b.readKinds = {KindVoiceParams};
    b.values = voiceValues;
    b.asksTip = true;
    b.reportsTip = true;
    b.form = voiceForm;
    return b;
}

SettingBinding nmeaBinding() {
    SettingBinding b;
    b.group = G::Nmea;
    b.form = nmeaForm;
    b.write = nmeaWrite;
    return b;
}

SettingBinding channelBinding() {
    SettingBinding b;
    b.group = G::RadioChannels;
    b.throughRadio = true;
    b.readKinds = {KindRadioChannels};
    b.readWaitMs = kRadioWaitMs;
    b.values = channelValues;
    b.asksTip = true;
    b.reportsTip = true;
    b.form = channelForm;
    return b;
}

SettingBinding airBaudBinding() {
    SettingBinding b;
    b.group = G::AirBaud;
    b.throughRadio = true;
    b.readKinds = {KindRadioAirBaud};
    b.readWaitMs = kRadioWaitMs;
    b.values = airBaudValues;
    b.asksTip = true;
    b.reportsTip = true;
    b.form = airBaudForm;
    return b;
}

SettingBinding passwordBinding() {
    SettingBinding b;
    b.group = G::Passwords;
    b.form = passwordForm;
    b.write = passwordWrite;
    return b;
}

} // namespace

std::span<const SettingBinding> SettingBindings::all() {
    static const std::vector<SettingBinding> bindings = {
        netBinding(),      apnBinding(),         collectBinding(), namingBinding(),
        locationBinding(), staticVoiceBinding(), bandBinding(),    voiceBinding(),
        nmeaBinding(),     channelBinding(),     airBaudBinding(), passwordBinding()};
    return bindings;
}

const SettingBinding* SettingBindings::find(SettingGroupId group) {
    for (const SettingBinding& binding : all()) {
        if (binding.group == group) {
            return &binding;
        }
    }
    return nullptr;
}

} // namespace kestrava
