#include "cli/CommandCatalogue.h"

#include "protocol/BoardCommands.h"
#include "protocol/DollarCommands.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/RadioCommands.h"
#include "protocol/StaticCommands.h"
#include "protocol/VoiceCommands.h"

#include <string>

namespace kestrava {
namespace {

using Args = CommandArguments;

Byte byteArg(Args& args, std::string_view name, long long min, long long max, long long fallback) {
    return static_cast<Byte>(args.integer(name, min, max, fallback));
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

NmeaOutputChoice nmeaArg(Args& args) {
    static constexpr std::string_view kNames[NmeaOutputChoice::kSentences] = {
        "gga", "gsv", "rmc", "gsa", "vtg", "zda", "gst"};
    NmeaOutputChoice choice;
    choice.setPort(static_cast<Byte>(args.choice("port", {"com1", "com2"}, 0)));
    choice.setClearAll(byteArg(args, "clear", 0, 1, 0));
    for (std::size_t i = 0; i < NmeaOutputChoice::kSentences; ++i) {
        if (args.has(kNames[i])) {
            choice.setOn(i, 1);
            choice.setRate(i, byteArg(args, kNames[i], 0, 5, 0));
        }
    }
    return choice;
}

void firmwareStateArgs(Args& args, DecoderState& state) {
    state.firmwareHardwareCode =
        static_cast<Byte>(args.choice("hw", {"88", "98"}, 1) == 0 ? 88 : 98);
    state.firmwareRetryCount = static_cast<int>(args.integer("retries", 0, 1000, 0));
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

#define SIMPLE(fn)                                                                                 \
    CatalogueEntry {                                                                               \
#fn, "", true,                                                                             \
            [](Args&, Bytes & out, ExpectedReply & e, DecoderState&) { return fn(out, e); }        \
    }

std::vector<CatalogueEntry> makeEntries() {
    std::vector<CatalogueEntry> list = {
        SIMPLE(ReadMainInfo),
        SIMPLE(ConnectInternalRadio),
        SIMPLE(StartSnrTest),
        SIMPLE(StopSnrTest),
        SIMPLE(ReadNetModuleBand),
        {"SetNetModuleBand", "band2g=0..255 band3g=0..255", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             const Byte band2g = byteArg(a, "band2g", 0, 255, 0);
             const Byte band3g = byteArg(a, "band3g", 0, 255, 0);
             return SetNetModuleBand(out, e, band2g, band3g);
         }},
        SIMPLE(ReadNetParams),
        {"SetNetParams",
         "netmode=0|1 comm=0|1|2 group1=0..9999 group2=0..255 userid=0..255 ip=A.B.C.D "
         "port=0..65535 phone=TEXT apn=TEXT user=TEXT password=TEXT mount=TEXT url=NAME "
         "(url given: the server is given by name)",
         true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) -> std::size_t {
             NetParams p;
             p.netMode = byteArg(a, "netmode", 0, 1, 0);
             p.communicationMode = byteArg(a, "comm", 0, 2, 0);
             p.groupId1 = static_cast<std::int32_t>(a.integer("group1", 0, 9999, 0));
             p.groupId2 = byteArg(a, "group2", 0, 255, 0);
             p.userId = byteArg(a, "userid", 0, 255, 0);
             p.ip = ipArg(a);
             p.port = static_cast<std::int32_t>(a.integer("port", 0, 65535, 0));
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
                 a.fail("the login (user:password) is longer than 59 Base64 characters and "
                        "cannot be sent");
             }
             return n;
         }},
        SIMPLE(ReadApnParams),
        {"SetApnParams", "user=TEXT password=TEXT", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             const ByteString user = a.text("user");
             const ByteString password = a.text("password");
             return SetApnParams(out, e, user, password);
         }},
        {"SetWifiPassword", "password=TEXT [old=TEXT]", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             const ByteString password = a.text("password");
             if (a.has("old")) {
                 const ByteString old = a.text("old");
                 return SetWifiPassword(out, e, old, password);
             }
             return SetWifiPassword(out, e, password);
         }},
        {"SetRemotePassword", "password=TEXT", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             return SetRemotePassword(out, e, a.text("password"));
         }},
        SIMPLE(ReadCollectParams),
        {"SetCollectParams", "interval=1..255 cutoff=0..90", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             const Byte interval = byteArg(a, "interval", 1, 255, 1);
             const Byte cutoff = byteArg(a, "cutoff", 0, 90, 0);
             return SetCollectParams(out, e, interval, cutoff);
         }},
        SIMPLE(ReadStoreLocation),
        {"SetStoreLocation", "location=card|flash", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             return SetStoreLocation(out, e, a.choice("location", {"flash", "card"}, 0) == 1);
         }},
        SIMPLE(ReadFileNaming),
        {"SetFileNaming", "prefix=TEXT serial=TEXT", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             const ByteString prefix = a.text("prefix");
             const ByteString serial = a.text("serial");
             return SetFileNaming(out, e, prefix, serial);
         }},
        {"ReadFileList", "[index=0..255] (first entry wanted, 0, 8, 16...)", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             return ReadFileList(out, e, byteArg(a, "index", 0, 255, 0));
         }},
        {"DeleteFiles", "names=NAME[,NAME...]", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             const auto names = a.list("names");
             return DeleteFiles(out, e, names);
         }},
        SIMPLE(FormatFiles),
        SIMPLE(ReadRecordingState),
        {"StartDownload", "name=NAME", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             return StartDownload(out, e, a.text("name"));
         }},
        SIMPLE(NextDownloadBlock),
        SIMPLE(StopDownload),
        {"VoiceSwitch", "code=on|off|staticoff", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             static constexpr VoiceSwitchCode kCodes[] = {VoiceSwitchCode::VoiceOn,
                                                          VoiceSwitchCode::VoiceOff,
                                                          VoiceSwitchCode::StaticVoiceOff};
             return VoiceSwitch(out, e, kCodes[a.choice("code", {"on", "off", "staticoff"}, 0)]);
         }},
        SIMPLE(ReadStaticVoice),
        {"SetStaticVoice", "on=0|1", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             return SetStaticVoice(out, e, a.integer("on", 0, 1, 0) == 1);
         }},
        {"ReadVoiceBlock", "[purpose=voice|rinex|set] (kind 44, 41 or 40)", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             static constexpr VoiceBlockRead kPurposes[] = {VoiceBlockRead::VoiceTypeAndVolume,
                                                            VoiceBlockRead::RinexFlag,
                                                            VoiceBlockRead::ForSet};
             return ReadVoiceBlock(out, e,
                                   kPurposes[a.choice("purpose", {"voice", "rinex", "set"}, 0)]);
         }},
        {"SetVoiceType", "type=0..255 [block=HEX] (block: the voice block reply last read)", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
             voiceBlockArg(a, s);
             return SetVoiceType(out, e, s, byteArg(a, "type", 0, 255, 0));
         }},
        {"SetRinexFlag", "on=0|1 [block=HEX]", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
             voiceBlockArg(a, s);
             return SetRinexFlag(out, e, s, a.integer("on", 0, 1, 0) == 1);
         }},
        {"SetVolume", "volume=1..10 [block=HEX]", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
             voiceBlockArg(a, s);
             return SetVolume(out, e, s, byteArg(a, "volume", 1, 10, 10));
         }},
        {"FirmwareStart", "target=0|1 [repeat=0|1] [hw=88|98] (hw: the image's hardware code)",
         true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) {
             const Byte target = byteArg(a, "target", 0, 1, 1);
             const bool repeat = a.integer("repeat", 0, 1, 0) == 1;
             firmwareStateArgs(a, s);
             return FirmwareStart(out, e, target, repeat);
         }},
        {"FirmwareBlock",
         "layout=large|88|98 data=HEX position=N [retries=N] (position: target address, or "
         "block number for the large layout; retries: refusals of this block so far)",
         true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState& s) -> std::size_t {
             static constexpr FirmwareLayout kLayouts[] = {
                 FirmwareLayout::Large, FirmwareLayout::Small88, FirmwareLayout::Small98};
             const FirmwareLayout layout = kLayouts[a.choice("layout", {"large", "88", "98"}, 2)];
             const Bytes data = a.hex("data");
             const auto position =
                 static_cast<std::uint32_t>(a.integer("position", 0, 0xFFFFFFFFLL, 0));
             firmwareStateArgs(a, s);
             if (data.size() > firmwareBlockCapacity(layout)) {
                 a.fail("data: at most " + std::to_string(firmwareBlockCapacity(layout)) +
                        " bytes fit a block of this layout");
                 return 0;
             }
             const std::size_t n = FirmwareBlock(out, e, s, layout, data, position);
             // The transfer has advanced past this block: the address its answer must echo.
             s.firmwareAddress = position + s.firmwareLastLength;
             return n;
         }},
        SIMPLE(ReadRadioChannels),
        SIMPLE(ReadAirBaud),
        {"SetAirBaud", "baud=9600|19200", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             return SetAirBaud(out, e, a.choice("baud", {"9600", "19200"}, 1) == 0 ? 9600 : 19200);
         }},
        {"WriteRadioChannels", "channels=TX:RX[,TX:RX...] (MHz, up to 16; the rest are 0)", true,
         [](Args& a, Bytes& out, ExpectedReply& e, DecoderState&) {
             const ChannelTable table = channelsArg(a);
             return WriteRadioChannels(out, e, table);
         }},
        SIMPLE(ReadBoardSerial),
        SIMPLE(ReadBoardVersion),
        {"SetNmeaOutput",
         "[board=0|4] [port=com1|com2] [clear=0|1] [gga=R] [gsv=R] [rmc=R] [gsa=R] [vtg=R] "
         "[zda=R] [gst=R] (board 0: text lines, 4: packet; a sentence given is on, R the rate "
         "index 0..5 = 1, 2, 5, 10, 0.5, 0.2 s)",
         false,
         [](Args& a, Bytes& out, ExpectedReply&, DecoderState&) -> std::size_t {
             const bool packet = a.choice("board", {"0", "4"}, 0) == 1;
             const NmeaOutputChoice choice = nmeaArg(a);
             return packet ? SetNmeaOutputPacket(out, choice) : SetNmeaOutputText(out, choice);
         }},
    };
    return list;
}

#undef SIMPLE

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
