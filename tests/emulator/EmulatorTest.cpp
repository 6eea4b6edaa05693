// The emulator core on the in-memory line: command assembly, state, files, firmware, radio,
// motherboard, periodic output and every fault. Wire bytes are written out literally.
#include "emulator/EmulatorTestSupport.h"
#include "emulator/InMemoryLink.h"
#include "emulator/StaticStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kestrava {
namespace {

using namespace std::chrono_literals;

using test::frame;

// The payload of a dollar reply that starts at the first byte of bytes, checked for its layout.
Bytes payloadOf(const Bytes& reply) {
    if (reply.size() < 9) {
        ADD_FAILURE() << "reply too short: " << reply.size();
        return {};
    }
    const std::size_t length = reply[4] | (reply[5] << 8);
    EXPECT_EQ(reply.size(), length + 9);
    Byte x = 0;
    for (std::size_t i = 2; i < 6 + length; ++i) {
        x ^= reply[i];
    }
    EXPECT_EQ(x, reply[6 + length]) << "checksum";
    return Bytes(reply.begin() + 6, reply.begin() + 6 + static_cast<std::ptrdiff_t>(length));
}

const Bytes kReadMainInfo = {0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A};

// ---- Command assembly -------------------------------------------------------------------------

TEST(EmulatorAssembly, commandInPiecesAndSeveralInOnePieceAreAllAnswered) {
    InMemoryLink link;
    link.write(Bytes(kReadMainInfo.begin(), kReadMainInfo.begin() + 3));
    link.clock().advance(5ms);
    link.write(Bytes(kReadMainInfo.begin() + 3, kReadMainInfo.end()));
    EXPECT_EQ(payloadOf(link.readChunk()).size(), 40u);

    Bytes two = frame('F', 'J');
    const Bytes fe = frame('F', 'E');
    two.insert(two.end(), fe.begin(), fe.end());
    const Bytes replies = link.exchange(two);
    const Bytes first = frame('F', 'J', {1, 10});
    const Bytes second = frame('F', 'E', {1});
    Bytes expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(replies, expected);
}

TEST(EmulatorAssembly, noiseAndPaddingAroundCommandsAreSkipped) {
    InMemoryLink link;
    Bytes noisy = {0x00, 0x00, '$', 'G', 'P', 0x13, 0x96, 0x01};
    noisy.insert(noisy.end(), kReadMainInfo.begin(), kReadMainInfo.end());
    noisy.push_back(0x00); // the zero byte that follows some frames
    EXPECT_EQ(payloadOf(link.exchange(noisy)).size(), 40u);
}

TEST(EmulatorAssembly, corruptCommandIsNotAnsweredAndDoesNotBlockTheNext) {
    InMemoryLink link;
    Bytes bad = kReadMainInfo;
    bad[6] ^= 0x01;
    EXPECT_TRUE(link.exchange(bad).empty());
    // A header whose length promises more than ever comes: forgotten after a quiet line.
    link.write(Bytes{0x24, 0x24, 0x46, 0x4A, 0x05, 0x00, 0x01});
    link.clock().advance(1s);
    EXPECT_EQ(payloadOf(link.exchange(kReadMainInfo)).size(), 40u);
}

// ---- Main information and settings -----------------------------------------------------------

TEST(EmulatorSettings, mainInformationCarriesTheProfileAtItsOffsets) {
    ReceiverProfile profile;
    profile.serialNumber = "AB123456";
    profile.version = 31;
    profile.receiverType = 'Z';
    profile.eFlag = false;
    profile.byte16 = 27;
    profile.board = BoardKind::Text;
    profile.gprsModule = 6;
    profile.sFlag = true;
    profile.moduleFirmware = 14;
    profile.moduleHardware = 20;
    InMemoryLink link(profile);
    const Bytes info = payloadOf(link.exchange(kReadMainInfo));
    ASSERT_GE(info.size(), 39u);
    EXPECT_EQ(std::string(info.begin(), info.begin() + 8), "AB123456");
    EXPECT_EQ(info[13], 31);
    EXPECT_EQ(info[14], 'Z');
    EXPECT_EQ(info[15], 1); // E flag off
    EXPECT_EQ(info[16], 27);
    EXPECT_EQ(info[17], 1); // text motherboard
    EXPECT_EQ(info[19], 6);
    EXPECT_EQ(info[21], 1);
    EXPECT_EQ(info[37], 14);
    EXPECT_EQ(info[38], 20);
}

struct SetThenRead {
    const char* what;
    char cls;
    char sub;
    Bytes setPayload;
    Bytes readPayload; // the read command's payload
    Bytes readsBack;   // the read reply's payload after the set
};

TEST(EmulatorSettings, aSetChangesWhatTheMatchingReadReturns) {
    Bytes voice(32, 0);
    voice[0] = 2;
    voice[1] = 1;
    voice[31] = 9;
    Bytes apn(100, 0);
    apn[0] = 'u';
    apn[50] = 'p';
    const SetThenRead cases[] = {
        {"collection", 'F', 'J', {5, 15}, {}, {5, 15}},
        {"store location", 'F', 'E', {0}, {}, {0}},
        {"voice block", 'I', 'K', voice, {}, voice},
        {"static voice", 'V', 'V', {1, 0}, {1}, {1, 0}},
        {"apn", 'G', 'A', apn, {}, apn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InMemoryLink link;
        EXPECT_EQ(payloadOf(link.exchange(frame(c.cls, c.sub, c.setPayload))), Bytes{0});
        EXPECT_EQ(payloadOf(link.exchange(frame(c.cls, c.sub, c.readPayload))), c.readsBack);
    }
}

TEST(EmulatorSettings, invalidSetsAreRefusedAndChangeNothing) {
    InMemoryLink link;
    EXPECT_EQ(payloadOf(link.exchange(frame('F', 'J', {0, 10}))), Bytes{1}); // interval 0
    EXPECT_EQ(payloadOf(link.exchange(frame('F', 'J', {5, 91}))), Bytes{1}); // cut-off 91
    Bytes voice(32, 0);
    voice[31] = 11;
    EXPECT_EQ(payloadOf(link.exchange(frame('I', 'K', voice))), Bytes{1}); // volume 11
    EXPECT_EQ(payloadOf(link.exchange(frame('F', 'J'))), (Bytes{1, 10}));
    EXPECT_EQ(link.emulator().settings().voiceBlock()[31], 7);
}

TEST(EmulatorSettings, wifiResultCodesFollowTheOldPasswordFieldAndTheProfile) {
    const auto wifi = [](const std::string& old, const std::string& fresh) {
        Bytes payload(60, 0);
        std::copy(old.begin(), old.end(), payload.begin());
        std::copy(fresh.begin(), fresh.end(), payload.begin() + 30);
        return frame('G', 'Y', payload);
    };
    const std::string fixed = "mvkqzjtrwplxbfhnyagcsuodie";
    struct Case {
        Byte profileResult;
        std::string old;
        Byte expected;
    } cases[] = {{0, fixed, 0}, {1, fixed, 1}, {2, fixed, 2}, {0, "wrong", 3}};
    for (const auto& c : cases) {
        ReceiverProfile profile;
        profile.wifiResult = c.profileResult;
        InMemoryLink link(profile);
        EXPECT_EQ(payloadOf(link.exchange(wifi(c.old, "newpass123"))), Bytes{c.expected});
        EXPECT_EQ(link.emulator().settings().wifiPassword() == "newpass123", c.expected == 0);
    }
}

TEST(EmulatorSettings, voiceSwitchCodesChangeTheVoiceStateAndStaticVoice) {
    InMemoryLink link;
    link.exchange(frame('S', 'I', {0xFF, 0xFF, 0x55, 0xFF}));
    EXPECT_FALSE(link.emulator().settings().voiceOn());
    link.exchange(frame('S', 'I', {0xFF, 0xFF, 0xBB, 0xFF}));
    EXPECT_EQ(payloadOf(link.exchange(frame('V', 'V', {1}))), (Bytes{1, 0}));
}

// ---- Static files ----------------------------------------------------------------------------

TEST(EmulatorFiles, listingIsPagedEightAtATime) {
    ReceiverProfile profile;
    profile.files = ReceiverProfile::generatedFiles(16);
    InMemoryLink link(profile);
    const std::size_t expected[] = {8, 8, 0};
    for (std::size_t page = 0; page < 3; ++page) {
        const Bytes entries =
            payloadOf(link.exchange(frame('F', 'M', {8, static_cast<Byte>(8 * page), 0})));
        EXPECT_EQ(entries.size(), 32 * expected[page]);
    }
}

TEST(EmulatorFiles, listEntryHoldsNameExtensionFatTimeDateAndSize) {
    ReceiverProfile profile;
    profile.files = {StaticFile("ABCD0001", "STH", 3000, 0x4904, 0x3BB3)};
    InMemoryLink link(profile);
    const Bytes entry = payloadOf(link.exchange(frame('F', 'M', {8, 0, 0})));
    ASSERT_EQ(entry.size(), 32u);
    EXPECT_EQ(std::string(entry.begin(), entry.begin() + 11), "ABCD0001STH");
    EXPECT_EQ(entry[14], 0xB3);
    EXPECT_EQ(entry[15], 0x3B);
    EXPECT_EQ(entry[16], 0x04);
    EXPECT_EQ(entry[17], 0x49);
    EXPECT_EQ((Bytes(entry.begin() + 28, entry.end())), (Bytes{0xB8, 0x0B, 0, 0}));
}

TEST(EmulatorFiles, deleteRemovesNamedFilesAndReportsUnknownNames) {
    InMemoryLink link;
    Bytes names;
    for (const char* n : {"KV000002", "KV000005"}) {
        names.insert(names.end(), n, n + 8);
    }
    EXPECT_EQ(payloadOf(link.exchange(frame('F', 'D', names))), Bytes{0});
    EXPECT_EQ(link.emulator().store().files().size(), 8u);
    EXPECT_EQ(payloadOf(link.exchange(frame('F', 'D', names))), Bytes{1});
}

TEST(EmulatorFiles, formatIsRefusedWhileRecordingAndEmptiesTheStoreOtherwise) {
    for (const bool recording : {true, false}) {
        ReceiverProfile profile;
        profile.recording = recording;
        InMemoryLink link(profile);
        const Bytes state = payloadOf(link.exchange(frame('F', 'C')));
        ASSERT_EQ(state.size(), 9u);
        EXPECT_EQ(state[8], recording ? 1 : 0);
        EXPECT_EQ(payloadOf(link.exchange(frame('F', 'D'))), Bytes{Byte(recording ? 1 : 0)});
        EXPECT_EQ(link.emulator().store().files().empty(), !recording);
    }
}

// Downloads a whole file the way the host does; returns the data and the block lengths.
struct Downloaded {
    Bytes data;
    std::vector<std::size_t> blocks;
    Byte lastStatus = 0xFF;
};

Downloaded download(InMemoryLink& link, const std::string& name) {
    Downloaded d;
    Bytes field(8, 0);
    std::copy(name.begin(), name.end(), field.begin());
    Bytes reply = payloadOf(link.exchange(frame('F', 't', field)));
    if (reply != Bytes{0}) {
        d.lastStatus = reply.empty() ? 0xFF : reply[0];
        return d;
    }
    for (int guard = 0; guard < 100000; ++guard) {
        const Bytes chunk = link.exchange(frame('F', 't'));
        if (chunk.empty()) {
            return d;
        }
        reply = payloadOf(chunk);
        if (reply.size() == 1) {
            d.lastStatus = reply[0];
            return d;
        }
        d.blocks.push_back(reply.size());
        d.data.insert(d.data.end(), reply.begin(), reply.end());
    }
    return d;
}

TEST(EmulatorFiles, downloadDeliversTheFileContentsEndingWithTheDoneStatus) {
    InMemoryLink link;
    for (const auto& file : ReceiverProfile::generatedFiles(10)) {
        SCOPED_TRACE(file.name());
        const Downloaded d = download(link, file.name());
        EXPECT_EQ(d.lastStatus, 3);
        EXPECT_EQ(d.data, file.contents());
        for (const std::size_t length : d.blocks) {
            EXPECT_GE(length, 2u);
            EXPECT_LE(length, 4095u);
        }
    }
}

TEST(EmulatorFiles, blockLengthsNeverLeaveASingleByte) {
    struct Case {
        std::uint32_t remaining;
        std::uint32_t blockSize;
        std::uint32_t expected;
    } cases[] = {
        {4096, 4095, 4094}, {4097, 4095, 4095}, {2, 4095, 2},  {3, 2, 3},
        {8191, 4095, 4095}, {5, 4, 3},          {100, 99, 98}, {4095, 4095, 4095},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StaticStore::nextBlockLength(c.remaining, c.blockSize), c.expected)
            << c.remaining << " left, blocks of " << c.blockSize;
    }
}

TEST(EmulatorFiles, unknownAndOneByteFilesAreRefusedAtTheStart) {
    ReceiverProfile profile;
    profile.files = {StaticFile("ONEBYTE1", "STH", 1, 0, 0)};
    InMemoryLink link(profile);
    EXPECT_EQ(download(link, "NOSUCH01").lastStatus, 1);
    EXPECT_EQ(download(link, "ONEBYTE1").lastStatus, 2);
}

TEST(EmulatorFiles, stopEndsTheDownloadSilently) {
    InMemoryLink link;
    Bytes field = {'K', 'V', '0', '0', '0', '0', '0', '3'};
    link.exchange(frame('F', 't', field));
    link.exchange(frame('F', 't'));
    EXPECT_TRUE(link.exchange(frame('F', 't', {0x04})).empty());
    EXPECT_FALSE(link.emulator().store().downloading());
}

// ---- Firmware loader -------------------------------------------------------------------------

Bytes firmwareStart(Byte target) {
    Bytes f = {0x24, 0x24, 0x56, 0x53, 0x01, 0x00, target, 0, 0x0D, 0x0A};
    f[7] = static_cast<Byte>(0x56 ^ 0x53 ^ 0x01 ^ target);
    return f;
}

// A block in the small layout of code 98 (address) or the fast layout (block number).
Bytes block98(std::uint32_t address, const Bytes& data) {
    Bytes f(267, 0);
    f[0] = f[1] = 0x24;
    f[2] = 0x56;
    f[3] = 0x58;
    const std::size_t n = (data.size() + 3) / 4 * 4;
    f[4] = static_cast<Byte>(n >> 8);
    f[5] = static_cast<Byte>(n);
    for (int i = 0; i < 4; ++i) {
        f[6 + i] = static_cast<Byte>(address >> (24 - 8 * i));
    }
    std::copy(data.begin(), data.end(), f.begin() + 10);
    Byte x = 0;
    for (std::size_t i = 10; i < 266; ++i) {
        x ^= f[i];
    }
    f[266] = x;
    return f;
}

Bytes vxStatusAndAddress(const Bytes& reply) {
    if (reply.size() < 10) {
        return {};
    }
    return Bytes(reply.begin() + 5, reply.begin() + 10);
}

TEST(EmulatorFirmware, handshakeReportsHardwareCodeAndSpeed) {
    struct Case {
        int code;
        bool fast;
    } cases[] = {{98, false}, {88, false}, {98, true}};
    for (const auto& c : cases) {
        ReceiverProfile profile;
        profile.hardwareCode = c.code;
        profile.fastFirmware = c.fast;
        InMemoryLink link(profile);
        const Bytes reply = link.exchange(firmwareStart(1));
        ASSERT_GE(reply.size(), 8u);
        EXPECT_EQ((Bytes(reply.begin(), reply.begin() + 5)), (Bytes{0x24, 0x24, 0x56, 0x53, 0x01}));
        EXPECT_EQ(reply[5], c.code);
        EXPECT_EQ(reply[7], c.fast ? 1 : 0);
        EXPECT_EQ(link.emulator().lineBaud(), c.fast ? 115200u : 19200u);
    }
}

TEST(EmulatorFirmware, badBlocksAreRefusedWithTheirStatus) {
    struct Case {
        const char* what;
        std::function<void(Bytes&)> spoil;
        Byte status;
    } cases[] = {
        {"data checksum", [](Bytes& f) { f[266] ^= 1; }, 1},
        {"length not a multiple of 4", [](Bytes& f) { f[5] = 0x7F; }, 1},
        {"length beyond the area", [](Bytes& f) { f[4] = 0x02; }, 1},
        {"address out of sequence", [](Bytes& f) { f[9] = 0x40; }, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        InMemoryLink link;
        link.exchange(firmwareStart(1));
        Bytes f = block98(0x40008000, Bytes(256, 0x5A));
        c.spoil(f);
        const Bytes reply = link.exchange(f);
        ASSERT_GE(reply.size(), 6u);
        EXPECT_EQ(reply[5], c.status);
        EXPECT_TRUE(link.emulator().firmware().image().empty());
    }
}

TEST(EmulatorFirmware, firmwareFaultsRefuseMisaddressAndFail) {
    struct Case {
        const char* what;
        std::function<void(FaultPlan&)> arm;
        std::vector<Byte> statuses; // of the first block sent repeatedly
    } cases[] = {
        {"two refusals with status 2",
         [](FaultPlan& f) {
             f.firmwareRefusals = 2;
             f.firmwareRefusalStatus = 2;
         },
         {2, 2, 0}},
        {"failure status", [](FaultPlan& f) { f.firmwareFailBlock = 0; }, {7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FaultPlan faults;
        c.arm(faults);
        InMemoryLink link({}, {}, faults);
        link.exchange(firmwareStart(0));
        for (const Byte status : c.statuses) {
            const Bytes reply = link.exchange(block98(0, Bytes(256, 1)));
            ASSERT_GE(reply.size(), 10u);
            EXPECT_EQ(reply[5], status);
        }
    }
    FaultPlan faults;
    faults.firmwareWrongAddressBlock = 0;
    InMemoryLink link({}, {}, faults);
    link.exchange(firmwareStart(0));
    const Bytes reply = link.exchange(block98(0, Bytes(256, 1)));
    EXPECT_EQ(vxStatusAndAddress(reply)[0], 0);
    EXPECT_NE(vxStatusAndAddress(reply), (Bytes{0, 0, 0, 0, 0}));
}

// ---- Radio and motherboard -------------------------------------------------------------------

TEST(EmulatorRadio, radioFramesAreAnsweredOnlyAfterConnecting) {
    InMemoryLink link;
    const Bytes readBaud = {0x96, 0x05, 0x80, 0x72, 0x00, 0x00, 0x61};
    EXPECT_TRUE(link.exchange(readBaud).empty());
    EXPECT_EQ(payloadOf(link.exchange(frame('G', 'Q', {0x0A}))), Bytes{0x0A});
    const Bytes reply = link.exchange(readBaud);
    ASSERT_EQ(reply.size(), 12u);
    EXPECT_EQ(reply[3], 's');
    EXPECT_EQ(reply[10], 0x40);
    // Set 9600: 96 0A 80 70 00 00 20 CC AC 32 55 4B
    const Bytes set = {0x96, 0x0A, 0x80, 0x70, 0x00, 0x00, 0x20, 0xCC, 0xAC, 0x32, 0x55, 0x4B};
    EXPECT_EQ(link.exchange(set)[3], 'q');
    EXPECT_EQ(link.exchange(readBaud)[10], 0x55);
}

TEST(EmulatorBoard, eachBoardAnswersOnlyItsOwnLanguage) {
    const Bytes serialRequest = {0x02, 0x00, 0x06, 0x00, 0x06, 0x03};
    const std::string logVersion = "\r\nlog version\r\n";
    const Bytes versionRequest(logVersion.begin(), logVersion.end());
    for (const BoardKind kind : {BoardKind::Packet, BoardKind::Text, BoardKind::Other}) {
        ReceiverProfile profile;
        profile.board = kind;
        InMemoryLink link(profile);
        const Bytes packet = link.exchange(serialRequest);
        const Bytes text = link.exchange(versionRequest);
        EXPECT_EQ(!packet.empty(), kind == BoardKind::Packet);
        EXPECT_EQ(!text.empty(), kind == BoardKind::Text);
        if (kind == BoardKind::Packet) {
            ASSERT_GE(packet.size(), 60u);
            EXPECT_EQ(packet[2], 0x07);
            EXPECT_EQ(std::string(packet.begin() + 49, packet.begin() + 59), profile.boardSerial);
            EXPECT_EQ(std::string(packet.begin() + 12, packet.begin() + 20), profile.boardType);
            EXPECT_EQ(packet.back(), 0x03);
        }
        if (kind == BoardKind::Text) {
            const std::string log(text.begin(), text.end());
            EXPECT_NE(log.find("VERSION"), std::string::npos);
            EXPECT_NE(log.find("\"" + profile.boardSerial + "\""), std::string::npos);
        }
    }
}

std::size_t countOf(const Bytes& bytes, const std::string& what) {
    const std::string text(bytes.begin(), bytes.end());
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

TEST(EmulatorBoard, nmeaOutputFollowsTheChosenSentencesRatesAndPort) {
    ReceiverProfile profile;
    profile.board = BoardKind::Text;
    InMemoryLink link(profile);
    const std::string commands = "unlogall com1\r\nlog com1 gpgga ontime 1\r\n"
                                 "log com1 gprmc ontime 0.5\r\nlog com2 gpgsv ontime 1\r\n";
    link.write(Bytes(commands.begin(), commands.end()));
    const Bytes out = link.readFor(10s);
    EXPECT_EQ(countOf(out, "$GPGGA"), 10u);
    EXPECT_EQ(countOf(out, "$GPRMC"), 20u);
    EXPECT_EQ(countOf(out, "$GPGSV"), 0u); // COM2: not the host's port
    link.write(Bytes{'u', 'n', 'l', 'o', 'g', 'a', 'l', 'l', ' ', 'c', 'o', 'm', '1', '\r', '\n'});
    EXPECT_TRUE(link.readFor(5s).empty());
}

TEST(EmulatorModem, signalTestSendsALineEverySecondUntilStopped) {
    InMemoryLink link;
    link.write(frame('G', 'Q', {0x03}));
    EXPECT_EQ(countOf(link.readFor(5500ms), "+CSQ"), 5u);
    link.write(frame('G', 'Q', {0x00}));
    EXPECT_TRUE(link.readFor(5s).empty());
}

// ---- Faults and timing -----------------------------------------------------------------------

TEST(EmulatorFaults, replyFaultsDoWhatTheySay) {
    const Bytes clean = frame('F', 'E', {1});
    struct Case {
        const char* what;
        std::function<void(FaultPlan&)> arm;
        std::function<void(InMemoryLink&)> check;
    } cases[] = {
        {"drop the next two", [](FaultPlan& f) { f.dropNext = 2; },
         [&](InMemoryLink& l) {
             EXPECT_TRUE(l.exchange(frame('F', 'E')).empty());
             EXPECT_TRUE(l.exchange(frame('F', 'E')).empty());
             EXPECT_EQ(l.exchange(frame('F', 'E')), clean);
         }},
        {"drop all", [](FaultPlan& f) { f.dropAll = true; },
         [&](InMemoryLink& l) {
             for (int i = 0; i < 3; ++i) {
                 EXPECT_TRUE(l.exchange(frame('F', 'E')).empty());
             }
         }},
        {"wrong checksum once", [](FaultPlan& f) { f.badChecksumNext = 1; },
         [&](InMemoryLink& l) {
             Bytes spoiled = clean;
             spoiled[7] ^= 0xFF;
             EXPECT_EQ(l.exchange(frame('F', 'E')), spoiled);
             EXPECT_EQ(l.exchange(frame('F', 'E')), clean);
         }},
        {"split into two bursts 200 ms apart",
         [](FaultPlan& f) {
             f.splitNext = 1;
             f.splitGap = 200ms;
         },
         [&](InMemoryLink& l) {
             l.write(frame('F', 'E'));
             const Bytes first = l.readChunk(50ms);
             const Bytes second = l.readChunk(50ms);
             EXPECT_EQ(first.size(), clean.size() / 2);
             Bytes joined = first;
             joined.insert(joined.end(), second.begin(), second.end());
             EXPECT_EQ(joined, clean);
         }},
        {"nmea noise before", [](FaultPlan& f) { f.noiseNext = 1; },
         [&](InMemoryLink& l) {
             const Bytes got = l.exchange(frame('F', 'E'));
             ASSERT_GT(got.size(), clean.size());
             EXPECT_EQ(std::string(got.begin(), got.begin() + 6), "$GPGGA");
             EXPECT_TRUE(std::equal(clean.rbegin(), clean.rend(), got.rbegin()));
         }},
        {"echo before",
         [](FaultPlan& f) {
             f.noiseNext = 1;
             f.noise = FaultPlan::Noise::Echo;
         },
         [&](InMemoryLink& l) {
             Bytes expected = frame('F', 'E');
             expected.insert(expected.end(), clean.begin(), clean.end());
             EXPECT_EQ(l.exchange(frame('F', 'E')), expected);
         }},
        {"delayed by 800 ms",
         [](FaultPlan& f) {
             f.delayNext = 1;
             f.delay = 800ms;
         },
         [&](InMemoryLink& l) {
             l.write(frame('F', 'E'));
             EXPECT_TRUE(l.readFor(800ms).empty());
             EXPECT_EQ(l.readChunk(), clean);
         }},
        {"silent board", [](FaultPlan& f) { f.boardSilent = true; },
         [&](InMemoryLink& l) {
             EXPECT_TRUE(l.exchange(Bytes{0x02, 0x00, 0x06, 0x00, 0x06, 0x03}).empty());
             EXPECT_EQ(l.exchange(frame('F', 'E')), clean);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FaultPlan faults;
        c.arm(faults);
        InMemoryLink link({}, {}, faults);
        c.check(link);
    }
}

TEST(EmulatorFaults, downloadFailureAndDeadLineStrikeAtTheChosenBlock) {
    {
        FaultPlan faults;
        faults.downloadFailBlock = 1;
        faults.downloadFailStatus = 2;
        InMemoryLink link({}, {}, faults);
        const Downloaded d = download(link, "KV000003"); // 20000 bytes
        EXPECT_EQ(d.blocks.size(), 1u);
        EXPECT_EQ(d.lastStatus, 2);
    }
    {
        FaultPlan faults;
        faults.downloadDeadBlock = 2;
        InMemoryLink link({}, {}, faults);
        const Downloaded d = download(link, "KV000003");
        EXPECT_EQ(d.blocks.size(), 2u);
        EXPECT_EQ(d.lastStatus, 0xFF);
        EXPECT_TRUE(link.exchange(kReadMainInfo).empty());
    }
}

TEST(EmulatorTiming, repliesFollowTheLatencyAndPacingCountsTenBitsAByte) {
    {
        InMemoryLink link;
        link.write(kReadMainInfo);
        EXPECT_TRUE(link.readFor(19ms).empty());
        EXPECT_EQ(link.readFor(1ms).size(), 49u);
    }
    {
        Emulator::Timing timing;
        timing.pacing = true;
        timing.baud = 10000; // one byte per millisecond
        timing.latency = 0ms;
        InMemoryLink link({}, timing);
        link.write(kReadMainInfo); // arrives over 9 ms
        EXPECT_TRUE(link.readFor(9ms).empty());
        EXPECT_EQ(link.readFor(10ms).size(), 10u);
        EXPECT_EQ(link.readFor(39ms).size(), 39u);
    }
}

TEST(EmulatorTiming, pacedDownloadTakesTheLineTimeOfEveryByteBothWays) {
    Emulator::Timing timing;
    timing.pacing = true; // 19200 baud
    InMemoryLink link({}, timing);
    const SimTime before = link.clock().now();
    const Downloaded d = download(link, "KV000003"); // 20000 bytes in 5 blocks
    ASSERT_EQ(d.data.size(), 20000u);
    const SimTime elapsed = link.clock().now() - before;
    // Commands: start (17) and 6 block requests (9 each). Replies: ready and done (10 each) and
    // 5 data frames (payload + 9 each).
    const std::size_t lineBytes = 17 + 6 * 9 + 2 * 10 + 20000 + 5 * 9;
    const SimTime lineTime{static_cast<SimTime::rep>(lineBytes) * 10'000'000 / 19200};
    const SimTime perExchange = 20ms + 50ms; // latency, and the reader's quiet wait
    EXPECT_GE(elapsed, lineTime);
    EXPECT_LE(elapsed, lineTime + perExchange * 7 + 10ms);
}

} // namespace
} // namespace kestrava
