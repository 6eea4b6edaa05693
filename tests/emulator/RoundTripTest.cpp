// Every command as the protocol library builds it, answered by the emulator, split and decoded by
// the protocol library: the reply kind and data that the decoders deliver are the ones expected.
#include "emulator/InMemoryLink.h"
#include "protocol/BoardCommands.h"
#include "protocol/DollarCommands.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/RadioCommands.h"
#include "protocol/RecordingReplySink.h"
#include "protocol/StaticCommands.h"
#include "protocol/StreamSplitter.h"
#include "protocol/VoiceCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace kestrava {
namespace {

using namespace std::chrono_literals;

// The host side of one line: builds a command, writes it, gathers the answer as one chunk and
// hands it to the splitter, exactly as the exchange does.
class Host {
public:
    explicit Host(ReceiverProfile profile = {}) : link(std::move(profile)) {}

    using Builder = std::function<std::size_t(Bytes&, ExpectedReply&, DecoderState&)>;

    // The deliveries made for the command's answer.
    std::vector<test::Delivery> send(const Builder& build) {
        Bytes out;
        const std::size_t count = build(out, expected, state);
        EXPECT_EQ(count, out.size());
        sink.deliveries.clear();
        link.write(out);
        const Bytes chunk = link.readChunk();
        if (!expected.isIdle()) {
            SplitChunk(chunk.data(), chunk.size(), expected, state, sink);
        }
        return sink.deliveries;
    }

    // The one delivery of the answer, which must be of the given kind.
    test::Delivery expectOne(const Builder& build, std::int32_t kind) {
        const auto got = send(build);
        EXPECT_EQ(got.size(), 1u) << "kind " << kind;
        if (got.size() != 1) {
            return {};
        }
        EXPECT_EQ(got.front().kind, kind);
        return got.front();
    }

    InMemoryLink link;
    ExpectedReply expected;
    DecoderState state;
    test::RecordingReplySink sink{expected};
};

Host::Builder plain(std::size_t (*builder)(Bytes&, ExpectedReply&)) {
    return [builder](Bytes& o, ExpectedReply& e, DecoderState&) { return builder(o, e); };
}

TEST(RoundTrip, eachReadAndSetGetsTheReplyItsDecoderExpects) {
    struct Case {
        const char* what;
        Host::Builder build;
        std::int32_t kind;
        std::function<void(const test::Delivery&)> check;
    };
    const auto value = [](std::int32_t v) {
        return [v](const test::Delivery& d) { EXPECT_EQ(d.value, v); };
    };
    const Case cases[] = {
        {"main information", plain(ReadMainInfo), KindMainInfo,
         [](const test::Delivery& d) {
             ASSERT_TRUE(d.mainInfo);
             EXPECT_EQ(d.mainInfo->serialNumber, "KS260107");
             EXPECT_EQ(d.mainInfo->receiverVersion, "2.5");
             EXPECT_EQ(d.mainInfo->receiverTypeCode, 'Q');
             EXPECT_EQ(d.mainInfo->byte16, 27);
             EXPECT_EQ(d.mainInfo->motherboardCode, MOTHERBOARD_TRIMBLE);
             EXPECT_EQ(d.mainInfo->gprsModuleCode, 3);
             EXPECT_EQ(d.mainInfo->moduleFirmwareVersion, "1.2");
             EXPECT_EQ(d.mainInfo->eFlag, 1);
         }},
        {"connect radio", plain(ConnectInternalRadio), KindRadioConnected, value(0)},
        {"read band", plain(ReadNetModuleBand), KindNetBand,
         [](const test::Delivery& d) {
             EXPECT_EQ(d.ints, (IntPair{0, 0}));
         }},
        {"set band",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetNetModuleBand(o, e, 2, 1); },
         KindNetBandSet, value(0)},
        {"read network", plain(ReadNetParams), KindNetParams,
         [](const test::Delivery& d) {
             ASSERT_TRUE(d.net);
             EXPECT_EQ(d.net->port, 2101);
             EXPECT_EQ(d.net->vrsName, "user");
             EXPECT_EQ(d.net->vrsPassword, "pass");
             EXPECT_EQ(d.net->sourceNode, "BASE01");
         }},
        {"read apn", plain(ReadApnParams), KindApnParams,
         [](const test::Delivery& d) {
             EXPECT_EQ(d.texts, (TextPair{"apnuser", "apnpass"}));
         }},
        {"set apn",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetApnParams(o, e, "u", "p"); },
         KindApnParamsSet, value(0)},
        {"wifi",
         [](Bytes& o, ExpectedReply& e, DecoderState&) {
             return SetWifiPassword(o, e, "abcd1234");
         },
         KindWifiSet, value(0)},
        {"remote password",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetRemotePassword(o, e, "abc1"); },
         KindRemotePasswordSet, value(0)},
        {"read collection", plain(ReadCollectParams), KindCollectParams,
         [](const test::Delivery& d) {
             EXPECT_EQ(d.ints, (IntPair{1, 10}));
         }},
        {"set collection",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetCollectParams(o, e, 5, 15); },
         KindCollectParamsSet, value(0)},
        {"read store location", plain(ReadStoreLocation), KindStoreLocation, value(1)},
        {"set store location",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetStoreLocation(o, e, false); },
         KindStoreLocationSet, value(0)},
        {"read naming", plain(ReadFileNaming), KindFileNaming,
         [](const test::Delivery& d) {
             EXPECT_EQ(d.texts, (TextPair{"K", "001"}));
         }},
        {"set naming",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetFileNaming(o, e, "R", "7"); },
         KindFileNamingSet, value(0)},
        {"recording state", plain(ReadRecordingState), KindRecordingState, value(0)},
        {"voice on",
         [](Bytes& o, ExpectedReply& e, DecoderState&) {
             return VoiceSwitch(o, e, VoiceSwitchCode::VoiceOn);
         },
         KindVoiceOn, value(0)},
        {"voice off",
         [](Bytes& o, ExpectedReply& e, DecoderState&) {
             return VoiceSwitch(o, e, VoiceSwitchCode::VoiceOff);
         },
         KindVoiceOff, value(0)},
        {"read static voice", plain(ReadStaticVoice), KindStaticVoice, value(1)},
        {"set static voice",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetStaticVoice(o, e, false); },
         KindStaticVoiceSet, value(1)},
        {"static voice off",
         [](Bytes& o, ExpectedReply& e, DecoderState&) {
             return VoiceSwitch(o, e, VoiceSwitchCode::StaticVoiceOff);
         },
         KindStaticVoiceOff, value(0)},
        {"voice type and volume",
         [](Bytes& o, ExpectedReply& e, DecoderState&) {
             return ReadVoiceBlock(o, e, VoiceBlockRead::VoiceTypeAndVolume);
         },
         KindVoiceParams,
         [](const test::Delivery& d) {
             EXPECT_EQ(d.bytes, (BytePair{1, 7}));
         }},
        {"rinex flag",
         [](Bytes& o, ExpectedReply& e, DecoderState&) {
             return ReadVoiceBlock(o, e, VoiceBlockRead::RinexFlag);
         },
         KindRinexFlag, value(0)},
        {"file list",
         [](Bytes& o, ExpectedReply& e, DecoderState&) { return ReadFileList(o, e, 8); },
         KindFileList,
         [](const test::Delivery& d) {
             ASSERT_TRUE(d.rows);
             ASSERT_EQ(d.rows->size(), 2u);
             EXPECT_EQ(d.rows->front().name, "KV000008.STH");
             EXPECT_EQ(d.rows->front().year, 2026);
         }},
        {"delete",
         [](Bytes& o, ExpectedReply& e, DecoderState&) {
             const ByteString names[] = {"KV000001.STH", "KV000004.STH"};
             return DeleteFiles(o, e, names);
         },
         KindFilesDeleted, value(0)},
        {"format", plain(FormatFiles), KindFilesFormatted, value(0)},
    };
    Host host;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(host.expectOne(c.build, c.kind));
    }
}

TEST(RoundTrip, valuesSetAreReadBackThroughTheDecoders) {
    Host host;
    NetParams net;
    net.netMode = 0;
    net.communicationMode = 2;
    net.groupId1 = 4321;
    net.groupId2 = 99;
    net.userId = 17;
    net.ip = {10, 1, 2, 3};
    net.port = 8002;
    net.phoneNumber = "*99***1#";
    net.apnName = "internet";
    net.vrsName = "surveyor.north";
    net.vrsPassword = "longpassword1"; // a joined login of 28 characters: the long form
    net.sourceNode = "MOUNT1";
    host.expectOne(
        [&](Bytes& o, ExpectedReply& e, DecoderState&) { return SetNetParams(o, e, net); },
        KindNetParamsSet);
    const auto readNet = host.expectOne(plain(ReadNetParams), KindNetParams);
    ASSERT_TRUE(readNet.net);
    const NetParams& back = *readNet.net;
    EXPECT_EQ(back.netMode, net.netMode);
    EXPECT_EQ(back.communicationMode, net.communicationMode);
    EXPECT_EQ(back.groupId1, net.groupId1);
    EXPECT_EQ(back.groupId2, net.groupId2);
    EXPECT_EQ(back.userId, net.userId);
    EXPECT_EQ(back.ip, net.ip);
    EXPECT_EQ(back.port, net.port);
    EXPECT_EQ(back.phoneNumber, net.phoneNumber);
    EXPECT_EQ(back.apnName, net.apnName);
    EXPECT_EQ(back.vrsName, net.vrsName);
    EXPECT_EQ(back.vrsPassword, net.vrsPassword);
    EXPECT_EQ(back.sourceNode, net.sourceNode);
    EXPECT_EQ(back.isUrl, net.isUrl);

    host.expectOne(
        [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetNetModuleBand(o, e, 3, 4); },
        KindNetBandSet);
    EXPECT_EQ(host.expectOne(plain(ReadNetModuleBand), KindNetBand).ints, (IntPair{3, 4}));

    host.expectOne(
        [](Bytes& o, ExpectedReply& e, DecoderState&) { return SetFileNaming(o, e, "R", "7"); },
        KindFileNamingSet);
    EXPECT_EQ(host.expectOne(plain(ReadFileNaming), KindFileNaming).texts, (TextPair{"R", "007"}));

    // Voice block: read for the set, then the set, then a read for display.
    host.expectOne([](Bytes& o, ExpectedReply& e,
                      DecoderState&) { return ReadVoiceBlock(o, e, VoiceBlockRead::ForSet); },
                   KindVoiceBlockForSet);
    EXPECT_EQ(host.expectOne([](Bytes& o, ExpectedReply& e,
                                DecoderState& s) { return SetVolume(o, e, s, 3); },
                             KindVolumeSet)
                  .value,
              1);
    EXPECT_EQ(host.expectOne(
                      [](Bytes& o, ExpectedReply& e, DecoderState&) {
                          return ReadVoiceBlock(o, e, VoiceBlockRead::VoiceTypeAndVolume);
                      },
                      KindVoiceParams)
                  .bytes,
              (BytePair{1, 3}));
}

TEST(RoundTrip, radioCommandsGetTheirRadioReplies) {
    Host host;
    host.expectOne(plain(ConnectInternalRadio), KindRadioConnected);
    ChannelTable table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = {463.125f + 0.025f * static_cast<float>(i), 450.0f};
    }
    host.expectOne(
        [&](Bytes& o, ExpectedReply& e, DecoderState&) { return WriteRadioChannels(o, e, table); },
        KindRadioChannelsSet);
    const auto read = host.expectOne(plain(ReadRadioChannels), KindRadioChannels);
    ASSERT_TRUE(read.channels);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_NEAR((*read.channels)[i].transmit, table[i].transmit, 0.001);
        EXPECT_NEAR((*read.channels)[i].receive, 450.0, 0.001);
    }
    EXPECT_EQ(host.expectOne(plain(ReadAirBaud), KindRadioAirBaud).value, 19200);
    host.expectOne([](Bytes& o, ExpectedReply& e, DecoderState&) { return SetAirBaud(o, e, 9600); },
                   KindRadioAirBaudSet);
    EXPECT_EQ(host.expectOne(plain(ReadAirBaud), KindRadioAirBaud).value, 9600);
}

TEST(RoundTrip, motherboardReadsDecodeForBothBoards) {
    Host packetHost;
    const auto serial = packetHost.expectOne(plain(ReadBoardSerial), KindBoardSerialPacket);
    EXPECT_EQ(serial.triple, (TextTriple{"5309K41207", "GNSSRCV8", "4.81"}));

    ReceiverProfile textProfile;
    textProfile.board = BoardKind::Text;
    Host textHost(textProfile);
    const auto version = textHost.expectOne(plain(ReadBoardVersion), KindBoardVersionText);
    EXPECT_EQ(version.triple, (TextTriple{"5309K41207", "OEMG7", "7.08.10"}));
}

TEST(RoundTrip, nmeaOutputBuiltForEitherBoardStartsTheSentences) {
    for (const BoardKind kind : {BoardKind::Packet, BoardKind::Text}) {
        ReceiverProfile profile;
        profile.board = kind;
        InMemoryLink link(profile);
        NmeaOutputChoice choice;
        choice.setClearAll(1);
        choice.setOn(NmeaOutputChoice::GGA, 1);
        choice.setRate(NmeaOutputChoice::GGA, 1); // every 2 s
        choice.setOn(NmeaOutputChoice::ZDA, 1);
        choice.setRate(NmeaOutputChoice::ZDA, 0); // every second
        Bytes out;
        ASSERT_GT(SetNmeaOutput(out, choice, kind == BoardKind::Text ? 0 : 4), 0u);
        link.write(out);
        const Bytes got = link.readFor(10s);
        const std::string text(got.begin(), got.end());
        std::size_t gga = 0;
        std::size_t zda = 0;
        for (auto at = text.find('$'); at != std::string::npos; at = text.find('$', at + 1)) {
            gga += text.compare(at, 6, "$GPGGA") == 0;
            zda += text.compare(at, 6, "$GPZDA") == 0;
        }
        EXPECT_EQ(gga, 5u);
        EXPECT_EQ(zda, 10u);
    }
}

TEST(RoundTrip, downloadIsDeliveredReadyBlocksDoneAndIdentical) {
    Host host;
    const StaticFile file = StaticFile::generated(4); // 4095 bytes: one full block
    Bytes received;
    std::vector<std::int32_t> kinds;
    auto got = host.send(
        [](Bytes& o, ExpectedReply& e, DecoderState&) { return StartDownload(o, e, "KV000004"); });
    for (int guard = 0; guard < 50 && got.size() == 1; ++guard) {
        kinds.push_back(got.front().kind);
        if (got.front().downloadPayload) {
            received.insert(received.end(), got.front().downloadPayload->begin(),
                            got.front().downloadPayload->end());
        }
        if (got.front().kind == KindDownloadDone || got.front().kind == KindDownloadFailed) {
            break;
        }
        got = host.send(plain(NextDownloadBlock));
    }
    EXPECT_EQ(kinds,
              (std::vector<std::int32_t>{KindDownloadReady, KindDownloadBlock, KindDownloadDone}));
    EXPECT_EQ(received, file.contents());
    EXPECT_TRUE(host.expected.isIdle());
}

TEST(RoundTrip, firmwareImageIsAcceptedBlockByBlockAndReceivedIdentical) {
    struct Case {
        int code;
        bool fast;
        std::size_t imageSize;
    } cases[] = {{98, false, 1000}, {88, false, 1000}, {98, true, 1300}, {88, true, 515}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + (c.fast ? " fast" : " normal"));
        ReceiverProfile profile;
        profile.hardwareCode = c.code;
        profile.fastFirmware = c.fast;
        Host host(profile);
        host.state.firmwareHardwareCode = static_cast<Byte>(c.code);
        const auto start = host.expectOne(
            [](Bytes& o, ExpectedReply& e, DecoderState&) { return FirmwareStart(o, e, 1, false); },
            KindFirmwareStart);
        EXPECT_EQ(start.value, c.fast ? 2 : 1);

        Bytes image(c.imageSize);
        for (std::size_t i = 0; i < image.size(); ++i) {
            image[i] = static_cast<Byte>((i * 131) >> 3);
        }
        const FirmwareLayout layout = *firmwareLayoutFor(c.code, c.fast);
        const std::size_t capacity = firmwareBlockCapacity(layout);
        std::uint32_t address = 0x40008000;
        std::uint32_t number = 0;
        for (std::size_t at = 0; at < image.size(); at += capacity) {
            const std::span<const Byte> data(image.data() + at,
                                             std::min(capacity, image.size() - at));
            const auto accepted = host.expectOne(
                [&](Bytes& o, ExpectedReply& e, DecoderState& s) {
                    const std::size_t n =
                        FirmwareBlock(o, e, s, layout, data, c.fast ? number : address);
                    address += s.firmwareLastLength;
                    s.firmwareAddress = address;
                    return n;
                },
                KindFirmwareBlock);
            EXPECT_EQ(accepted.value, 0);
            ++number;
        }
        const Bytes& received = host.link.emulator().firmware().image();
        ASSERT_EQ(received.size(), (image.size() + 3) / 4 * 4);
        EXPECT_TRUE(std::equal(image.begin(), image.end(), received.begin()));
        EXPECT_TRUE(std::all_of(received.begin() + static_cast<std::ptrdiff_t>(image.size()),
                                received.end(), [](Byte b) { return b == 0; }));
    }
}

TEST(RoundTrip, firmwareRefusalsAreDeliveredAsResendsThenAsTheStatus) {
    FaultPlan faults;
    faults.firmwareRefusals = 4;
    faults.firmwareRefusalStatus = 2;
    ReceiverProfile profile;
    Host host(profile);
    host.link.emulator().faults() = faults;
    host.state.firmwareHardwareCode = 98;
    host.expectOne(
        [](Bytes& o, ExpectedReply& e, DecoderState&) { return FirmwareStart(o, e, 0, false); },
        KindFirmwareStart);
    const Bytes data(256, 0x11);
    std::vector<std::int32_t> values;
    for (int i = 0; i < 4; ++i) {
        values.push_back(host.expectOne(
                                 [&](Bytes& o, ExpectedReply& e, DecoderState& s) {
                                     const std::size_t n =
                                         FirmwareBlock(o, e, s, FirmwareLayout::Small98, data, 0);
                                     s.firmwareAddress = 256;
                                     return n;
                                 },
                                 KindFirmwareBlock)
                             .value.value_or(-1));
    }
    EXPECT_EQ(values, (std::vector<std::int32_t>{10, 10, 10, 2}));
}

} // namespace
} // namespace kestrava
