#include "cli/CommandCatalogue.h"

#include "protocol/BoardCommands.h"
#include "protocol/CommandTable.h"
#include "protocol/DollarCommands.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/RadioCommands.h"
#include "protocol/StaticCommands.h"
#include "protocol/VoiceCommands.h"

#include <initializer_list>
#include <string>

namespace kestrava {
namespace {

using Args = CommandArguments;

// A number argument: its name, its range and the value taken when it is not given. The usage
// text shows the range (as "0|1" for two or three values) unless shown says otherwise.
struct NumberArgument {
    std::string_view name;
    long long min;
    long long max;
    long long fallback;
    std::string_view shown = {};
};

constexpr NumberArgument kBand2g{"band2g", 0, 255, 0};
constexpr NumberArgument kBand3g{"band3g", 0, 255, 0};
constexpr NumberArgument kNetMode{"netmode", 0, 1, 0};
constexpr NumberArgument kCommunication{"comm", 0, 2, 0};
constexpr NumberArgument kGroup1{"group1", 0, 9999, 0};
constexpr NumberArgument kGroup2{"group2", 0, 255, 0};
constexpr NumberArgument kUserId{"userid", 0, 255, 0};
constexpr NumberArgument kPort{"port", 0, 65535, 0};
constexpr NumberArgument kInterval{"interval", 1, 255, 1};
constexpr NumberArgument kCutoff{"cutoff", 0, 90, 0};
constexpr NumberArgument kFileIndex{"index", 0, 255, 0};
constexpr NumberArgument kOn{"on", 0, 1, 0};
constexpr NumberArgument kVoiceType{"type", 0, 255, 0};
constexpr NumberArgument kVolume{"volume", 1, 10, 10};
constexpr NumberArgument kTarget{"target", 0, 1, 1};
constexpr NumberArgument kRepeat{"repeat", 0, 1, 0};
constexpr NumberArgument kPosition{"position", 0, 0xFFFFFFFFLL, 0, "N"};
constexpr NumberArgument kRetries{"retries", 0, 1000, 0, "N"};
constexpr NumberArgument kClear{"clear", 0, 1, 0};
constexpr NumberArgument kRate{"rate", 0, 5, 0}; // of each NMEA sentence, given by its name

long long numberArg(Args& args, const NumberArgument& a) {
    return args.integer(a.name, a.min, a.max, a.fallback);
}

Byte byteArg(Args& args, const NumberArgument& a) {
    return static_cast<Byte>(numberArg(args, a));
}

std::string rangeText(const NumberArgument& a) {
    if (!a.shown.empty()) {
        return std::string(a.shown);
    }
    if (a.max - a.min <= 2) {
        std::string text;
        for (long long v = a.min; v <= a.max; ++v) {
            text += (v == a.min ? "" : "|") + std::to_string(v);
        }
        return text;
    }
    return std::to_string(a.min) + ".." + std::to_string(a.max);
}

// One piece of a usage text: a number argument with its range, or words as they stand.
struct UsagePart {
    UsagePart(const NumberArgument& a) : text(std::string(a.name) + '=' + rangeText(a)) {}
    UsagePart(const char* words) : text(words) {}
    UsagePart(std::string words) : text(std::move(words)) {}
    std::string text;
};

std::string optionalArg(const NumberArgument& a) {
    return '[' + UsagePart(a).text + ']';
}

std::string usage(std::initializer_list<UsagePart> parts) {
    std::string text;
    for (const UsagePart& part : parts) {
        text += (text.empty() ? "" : " ") + part.text;
    }
    return text;
}

std::array<Byte, 4> ipArg(Args& args) {
    std::array<Byte, 4> ip{};
    if (!args.has("ip")) {
        return ip;
    }
    const ByteString text = args.text("ip");
    std::size_t part = 0;
    std::size_t start = 0;
    bool good = true;
    while (good && part < 4) {
        const auto dot = text.find('.', start);
        const std::string number = text.substr(start, dot == std::string::npos ? dot : dot - start);
        if (number.empty() || number.size() > 3 ||
            number.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(number) > 255) {
            good = false;
            break;
        }
        ip[part++] = static_cast<Byte>(std::stoi(number));
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    if (!good || part != 4 || text.find('.', start) != std::string::npos) {
        args.fail("ip=" + text + ": expected a dotted IPv4 address such as 192.168.1.10");
    }
    return ip;
}

ChannelTable channelsArg(Args& args) {
    ChannelTable table{};
    const auto items = args.list("channels");
    if (items.size() > table.size()) {
        args.fail("channels: at most 16 channels");
        return table;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto colon = items[i].find(':');
        const std::string tx = items[i].substr(0, colon);
        const std::string rx = colon == std::string::npos ? tx : items[i].substr(colon + 1);
        char* endTx = nullptr;
        char* endRx = nullptr;
        const double txValue = std::strtod(tx.c_str(), &endTx);
        const double rxValue = std::strtod(rx.c_str(), &endRx);
        if (tx.empty() || rx.empty() || *endTx != '\0' || *endRx != '\0' || txValue < 0 ||
            rxValue < 0 || txValue > 1000 || rxValue > 1000) {
            args.fail("channels: \"" + items[i] + "\" is not TX:RX in MHz (0 to 1000)");
            return table;
        }
        table[i] = {static_cast<float>(txValue), static_cast<float>(rxValue)};
    }
    return table;
}

// The NMEA sentences by their argument names, in the order of NmeaOutputChoice.
constexpr std::string_view kSentenceNames[NmeaOutputChoice::kSentences] = {
    "gga", "gsv", "rmc", "gsa", "vtg", "zda", "gst"};

NmeaOutputChoice nmeaArg(Args& args) {
    NmeaOutputChoice choice;
    choice.setPort(static_cast<Byte>(args.choice("port", {"com1", "com2"}, 0)));
    choice.setClearAll(byteArg(args, kClear));
    for (std::size_t i = 0; i < NmeaOutputChoice::kSentences; ++i) {
        if (args.has(kSentenceNames[i])) {
            NumberArgument rate = kRate;
            rate.name = kSentenceNames[i];
            choice.setOn(i, 1);
            choice.setRate(i, byteArg(args, rate));
        }
    }
    return choice;
}

std::string nmeaUsage() {
    std::string sentences;
    for (std::string_view name : kSentenceNames) {
        sentences += " [" + std::string(name) + "=R]";
    }
    return "[board=0|4] [port=com1|com2] " + optionalArg(kClear) + sentences +
           " (board 0: text lines, 4: packet; a sentence given is on, R the rate index " +
           rangeText(kRate) + " = 1, 2, 5, 10, 0.5, 0.2 s)";
}

void firmwareStateArgs(Args& args, DecoderState& state) {
    state.firmwareHardwareCode =
        static_cast<Byte>(args.choice("hw", {"88", "98"}, 1) == 0 ? 88 : 98);
    state.firmwareRetryCount = static_cast<int>(numberArg(args, kRetries));
}

// The stored voice block that a setter rewrites; 0xFF everywhere until a block was read.
void voiceBlockArg(Args& args, DecoderState& state) {
    const Bytes block = args.hex("block");
    if (block.size() > state.voiceBlock.size()) {
        args.fail("block: at most 41 bytes");
        return;
    }
    std::copy(block.begin(), block.end(), state.voiceBlock.begin());
}

// The kinds a voice-block read arms, in the order of its purposes on the command line.
std::string voiceBlockKinds() {
    const CommandRow& tableRow = CommandTable::row(CommandId::ReadVoiceBlock);
    const auto kind = [&tableRow](VoiceBlockRead purpose) {
        return std::to_string(tableRow.kind(static_cast<std::size_t>(purpose)));
    };
    return "(kind " + kind(VoiceBlockRead::VoiceTypeAndVolume) + ", " +
           kind(VoiceBlockRead::RinexFlag) + " or " + kind(VoiceBlockRead::ForSet) + ")";
}

using Build = std::function<std::size_t(Args&, Bytes&, ExpectedReply&, DecoderState&)>;

// How the command line takes a command's arguments and builds it.
struct Framing {
    std::string arguments;
    Build build;
};

Framing plain(std::size_t (*builder)(Bytes&, ExpectedReply&)) {
    return {"", [builder](Args&, Bytes& out, ExpectedReply& e, DecoderState&) {
                return builder(out, e);
            }};
}

Framing framingOf(CommandId id) {
    switch (id) {
    case CommandId::ReadMainInfo:
        return plain(ReadMainInfo);
    case CommandId::ConnectInternalRadio:
        return plain(ConnectInternalRadio);
    case CommandId::StartSnrTest:
        return plain(StartSnrTest);
    case CommandId::StopSnrTest:
        return plain(StopSnrTest);
    case CommandId::ReadNetModuleBand:
        return plain(ReadNetModuleBand);
    case CommandId::SetNetModuleBand:
        return {usage({kBand2g, kBand3g}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    const Byte band2g = byteArg(a, kBand2g);
                    const Byte band3g = byteArg(a, kBand3g);
                    return SetNetModuleBand(out, e, band2g, band3g);
                }};
    case CommandId::ReadNetParams:
        return plain(ReadNetParams);
    case CommandId::SetNetParams:
        return {usage({kNetMode, kCommunication, kGroup1, kGroup2, kUserId, "ip=A.B.C.D", kPort,
                       "phone=TEXT apn=TEXT user=TEXT password=TEXT mount=TEXT url=NAME (url "
                       "given: the server is given by name)"}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) -> std::size_t {
                    NetParams p;
                    p.netMode = byteArg(a, kNetMode);
                    p.communicationMode = byteArg(a, kCommunication);
                    p.groupId1 = static_cast<std::int32_t>(numberArg(a, kGroup1));
                    p.groupId2 = byteArg(a, kGroup2);
                    p.userId = byteArg(a, kUserId);
                    p.ip = ipArg(a);
                    p.port = static_cast<std::int32_t>(numberArg(a, kPort));
                    p.phoneNumber = a.text("phone");
                    p.apnName = a.text("apn");
                    p.vrsName = a.text("user");
                    p.vrsPassword = a.text("password");
                    p.sourceNode = a.text("mount");
                    p.isUrl = a.has("url");
                    p.url = a.text("url");
                    if (!a.ok()) {
                        return 0;
                    }
                    const std::size_t n = SetNetParams(out, e, p);
                    if (n == 0) {
                        a.fail("the login (user:password) is longer than 59 Base64 characters "
                               "and cannot be sent");
                    }
                    return n;
                }};
    case CommandId::ReadApnParams:
        return plain(ReadApnParams);
    case CommandId::SetApnParams:
        return {"user=TEXT password=TEXT",
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    const ByteString user = a.text("user");
                    const ByteString password = a.text("password");
                    return SetApnParams(out, e, user, password);
                }};
    case CommandId::SetWifiPassword:
        return {"password=TEXT [old=TEXT]",
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    const ByteString password = a.text("password");
                    if (a.has("old")) {
                        const ByteString old = a.text("old");
                        return SetWifiPassword(out, e, old, password);
                    }
                    return SetWifiPassword(out, e, password);
                }};
    case CommandId::SetRemotePassword:
        return {"password=TEXT", [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    return SetRemotePassword(out, e, a.text("password"));
                }};
    case CommandId::ReadCollectParams:
        return plain(ReadCollectParams);
    case CommandId::SetCollectParams:
        return {usage({kInterval, kCutoff}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    const Byte interval = byteArg(a, kInterval);
                    const Byte cutoff = byteArg(a, kCutoff);
                    return SetCollectParams(out, e, interval, cutoff);
                }};
    case CommandId::ReadStoreLocation:
        return plain(ReadStoreLocation);
    case CommandId::SetStoreLocation:
        return {
            "location=card|flash", [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                return SetStoreLocation(out, e, a.choice("location", {"flash", "card"}, 0) == 1);
            }};
    case CommandId::ReadFileNaming:
        return plain(ReadFileNaming);
    case CommandId::SetFileNaming:
        return {"prefix=TEXT serial=TEXT",
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    const ByteString prefix = a.text("prefix");
                    const ByteString serial = a.text("serial");
                    return SetFileNaming(out, e, prefix, serial);
                }};
    case CommandId::ReadFileList:
        return {usage({optionalArg(kFileIndex), "(first entry wanted, 0, 8, 16...)"}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    return ReadFileList(out, e, byteArg(a, kFileIndex));
                }};
    case CommandId::DeleteFiles:
        return {"names=NAME[,NAME...]", [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    const auto names = a.list("names");
                    return DeleteFiles(out, e, names);
                }};
    case CommandId::FormatFiles:
        return plain(FormatFiles);
    case CommandId::ReadRecordingState:
        return plain(ReadRecordingState);
    case CommandId::StartDownload:
        return {"name=NAME", [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    return StartDownload(out, e, a.text("name"));
                }};
    case CommandId::NextDownloadBlock:
        return plain(NextDownloadBlock);
    case CommandId::StopDownload:
        return plain(StopDownload);
    case CommandId::VoiceSwitch:
        return {
            "code=on|off|staticoff", [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                static constexpr VoiceSwitchCode kCodes[] = {VoiceSwitchCode::VoiceOn,
                                                             VoiceSwitchCode::VoiceOff,
                                                             VoiceSwitchCode::StaticVoiceOff};
                return VoiceSwitch(out, e, kCodes[a.choice("code", {"on", "off", "staticoff"}, 0)]);
            }};
    case CommandId::ReadStaticVoice:
        return plain(ReadStaticVoice);
    case CommandId::SetStaticVoice:
        return {usage({kOn}), [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    return SetStaticVoice(out, e, numberArg(a, kOn) == 1);
                }};
    case CommandId::ReadVoiceBlock:
        return {usage({"[purpose=voice|rinex|set]", voiceBlockKinds()}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    static constexpr VoiceBlockRead kPurposes[] = {
                        VoiceBlockRead::VoiceTypeAndVolume, VoiceBlockRead::RinexFlag,
                        VoiceBlockRead::ForSet};
                    return ReadVoiceBlock(
                        out, e, kPurposes[a.choice("purpose", {"voice", "rinex", "set"}, 0)]);
                }};
    case CommandId::SetVoiceType:
        return {usage({kVoiceType, "[block=HEX] (block: the voice block reply last read)"}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
                    voiceBlockArg(a, s);
                    return SetVoiceType(out, e, s, byteArg(a, kVoiceType));
                }};
    case CommandId::SetRinexFlag:
        return {usage({kOn, "[block=HEX]"}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
                    voiceBlockArg(a, s);
                    return SetRinexFlag(out, e, s, numberArg(a, kOn) == 1);
                }};
    case CommandId::SetVolume:
        return {usage({kVolume, "[block=HEX]"}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
                    voiceBlockArg(a, s);
                    return SetVolume(out, e, s, byteArg(a, kVolume));
                }};
    case CommandId::FirmwareStart:
        return {
            usage({kTarget, optionalArg(kRepeat), "[hw=88|98] (hw: the image's hardware code)"}),
            [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
                const Byte target = byteArg(a, kTarget);
                const bool repeat = numberArg(a, kRepeat) == 1;
                firmwareStateArgs(a, s);
                return FirmwareStart(out, e, target, repeat);
            }};
    case CommandId::FirmwareBlock:
        return {usage({"layout=large|88|98 data=HEX", kPosition, optionalArg(kRetries),
                       "(position: target address, or block number for the large layout; "
                       "retries: refusals of this block so far)"}),
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) -> std::size_t {
                    static constexpr FirmwareLayout kLayouts[] = {
                        FirmwareLayout::Large, FirmwareLayout::Small88, FirmwareLayout::Small98};
                    const FirmwareLayout layout =
                        kLayouts[a.choice("layout", {"large", "88", "98"}, 2)];
                    const Bytes data = a.hex("data");
                    const auto position = static_cast<std::uint32_t>(numberArg(a, kPosition));
                    firmwareStateArgs(a, s);
                    if (data.size() > firmwareBlockCapacity(layout)) {
                        a.fail("data: at most " + std::to_string(firmwareBlockCapacity(layout)) +
                               " bytes fit a block of this layout");
                        return 0;
                    }
                    const std::size_t n = FirmwareBlock(out, e, s, layout, data, position);
                    // The transfer has advanced past this block: the address its answer must
                    // echo.
                    s.firmwareAddress = position + s.firmwareLastLength;
                    return n;
                }};
    case CommandId::ReadRadioChannels:
        return plain(ReadRadioChannels);
    case CommandId::ReadAirBaud:
        return plain(ReadAirBaud);
    case CommandId::SetAirBaud:
        return {"baud=9600|19200", [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    return SetAirBaud(out, e,
                                      a.choice("baud", {"9600", "19200"}, 1) == 0 ? 9600 : 19200);
                }};
    case CommandId::WriteRadioChannels:
        return {"channels=TX:RX[,TX:RX...] (MHz, up to 16; the rest are 0)",
                [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
                    const ChannelTable table = channelsArg(a);
                    return WriteRadioChannels(out, e, table);
                }};
    case CommandId::ReadBoardSerial:
        return plain(ReadBoardSerial);
    case CommandId::ReadBoardVersion:
        return plain(ReadBoardVersion);
    case CommandId::SetNmeaOutput:
        return {nmeaUsage(), [](Args& a, Bytes& out, ExpectedReply&, DecoderState&) -> std::size_t {
                    const bool packet = a.choice("board", {"0", "4"}, 0) == 1;
                    const NmeaOutputChoice choice = nmeaArg(a);
                    return packet ? SetNmeaOutputPacket(out, choice)
                                  : SetNmeaOutputText(out, choice);
                }};
    }
    return {};
}

std::vector<CatalogueEntry> makeEntries() {
    std::vector<CatalogueEntry> list;
    for (const CommandRow& tableRow : CommandTable::all()) {
        Framing framing = framingOf(tableRow.id);
        list.push_back({tableRow.name, std::move(framing.arguments), tableRow.armsReply,
                        std::move(framing.build)});
    }
    return list;
}

} // namespace

const std::vector<CatalogueEntry>& CommandCatalogue::entries() {
    static const std::vector<CatalogueEntry> list = makeEntries();
    return list;
}

const CatalogueEntry* CommandCatalogue::find(std::string_view name) {
    for (const CatalogueEntry& entry : entries()) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace kestrava
