#include "protocol/BoardCommands.h"
#include "protocol/DecoderState.h"
#include "protocol/DollarCommands.h"
#include "protocol/ExpectedReply.h"
#include "protocol/FirmwareCommands.h"
#include "protocol/RadioCommands.h"
#include "protocol/StaticCommands.h"
#include "protocol/VoiceCommands.h"

#include "protocol/Base64.h"

#include <gmock/gmock.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace kestrava {
namespace {

using ::testing::ElementsAreArray;

using Builder = std::function<std::size_t(Bytes&, ExpectedReply&)>;

// A builder call with its other arguments bound, as a Builder.
#define B(call) [&](Bytes& o, ExpectedReply& e) { return call; }

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string textOf(const Bytes& bytes, std::size_t offset, std::size_t width) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + width));
}

Byte xorOf(const Bytes& bytes, std::size_t first, std::size_t last) {
    Byte sum = 0;
    for (std::size_t i = first; i <= last; ++i) {
        sum ^= bytes[i];
    }
    return sum;
}

// ---------------------------------------------------------------------------------------------
// Worked examples, byte for byte.

TEST(CommandBuilders, produceTheWorkedExamplesByteForByte) {
    struct Example {
        const char* name;
        Builder build;
        Bytes bytes;
    };
    const std::vector<Example> examples = {
        {"ReadMainInfo", ReadMainInfo, {0x24, 0x24, 0x56, 0x43, 0x00, 0x00, 0x15, 0x0D, 0x0A}},
        {"ConnectInternalRadio",
         ConnectInternalRadio,
         {0x24, 0x24, 0x47, 0x51, 0x01, 0x00, 0x0A, 0x1D, 0x0D, 0x0A}},
        {"StopSnrTest", StopSnrTest, {0x24, 0x24, 0x47, 0x51, 0x01, 0x00, 0x00, 0x17, 0x0D, 0x0A}},
        {"ReadFileNaming", ReadFileNaming, {0x24, 0x24, 0x46, 0x4B, 0x00, 0x00, 0x0D, 0x0D, 0x0A}},
        {"VoiceSwitch 0xAA",
         B(VoiceSwitch(o, e, VoiceSwitchCode::VoiceOn)),
         {0x24, 0x24, 0x53, 0x49, 0x04, 0x00, 0xFF, 0xFF, 0xAA, 0xFF, 0x4B, 0x0D, 0x0A}},
        {"ReadFileList from 8",
         B(ReadFileList(o, e, 8)),
         {0x24, 0x24, 0x46, 0x4D, 0x03, 0x00, 0x08, 0x08, 0x00, 0x08, 0x0D, 0x0A}},
        {"SetFileNaming A 7",
         B(SetFileNaming(o, e, "A", "7")),
         {0x24, 0x24, 0x46, 0x4B, 0x04, 0x00, 0x41, 0x30, 0x30, 0x37, 0x7F, 0x0D, 0x0A}},
        {"StopDownload",
         StopDownload,
         {0x24, 0x24, 0x46, 0x74, 0x01, 0x00, 0x04, 0x37, 0x0D, 0x0A}},
        {"ReadRadioChannels", ReadRadioChannels, {0x96, 0x05, 0x80, 0x63, 0x00, 0x00, 0x70}},
        {"ReadAirBaud", ReadAirBaud, {0x96, 0x05, 0x80, 0x72, 0x00, 0x00, 0x61}},
        {"SetAirBaud 9600",
         B(SetAirBaud(o, e, 9600)),
         {0x96, 0x0A, 0x80, 0x70, 0x00, 0x00, 0x20, 0xCC, 0xAC, 0x32, 0x55, 0x4B}},
        {"SetAirBaud 19200",
         B(SetAirBaud(o, e, 19200)),
         {0x96, 0x0A, 0x80, 0x70, 0x00, 0x00, 0x20, 0xCC, 0xAC, 0x32, 0x40, 0x5E}},
        {"ReadBoardSerial", ReadBoardSerial, {0x02, 0x00, 0x06, 0x00, 0x06, 0x03}},
        {"ReadBoardVersion", ReadBoardVersion, bytesOf("\r\nlog version\r\n")},
        {"FirmwareStart module first",
         B(FirmwareStart(o, e, 0, false)),
         {0x24, 0x24, 0x56, 0x53, 0x01, 0x00, 0x00, 0x04, 0x0D, 0x0A}},
        {"FirmwareStart module repeat",
         B(FirmwareStart(o, e, 0, true)),
         {0x24, 0x24, 0x56, 0x53, 0x01, 0x00, 0x00, 0x04, 0x0D, 0x0A}},
        {"FirmwareStart receiver first",
         B(FirmwareStart(o, e, 1, false)),
         {0x24, 0x24, 0x56, 0x53, 0x01, 0x00, 0x01, 0x05, 0x0D, 0x0A}},
        {"FirmwareStart receiver repeat",
         B(FirmwareStart(o, e, 1, true)),
         {0x24, 0x24, 0x56, 0x53, 0x01, 0x31, 0x01, 0x34, 0x0D, 0x0A}},
    };
    for (const auto& ex : examples) {
        Bytes out{0xEE, 0xEE}; // stale content must be replaced, not appended to
        ExpectedReply expected;
        EXPECT_EQ(ex.build(out, expected), ex.bytes.size()) << ex.name;
        EXPECT_THAT(out, ElementsAreArray(ex.bytes)) << ex.name;
    }
}

// ---------------------------------------------------------------------------------------------
// What every builder arms, and its length.

TEST(CommandBuilders, armTheAwaitedReplyAndReturnTheBytesToWrite) {
    struct Row {
        const char* name;
        Builder build;
        std::size_t bytes;
        Byte cls; // 'x', 'y' below: the builder leaves class and sub as they were
        Byte sub;
        std::int32_t kind;
        std::int32_t mode;
    };
    DecoderState state;
    NetParams net;
    net.vrsName = "user";
    net.vrsPassword = "pass";
    const std::vector<ByteString> files = {"A.DAT", "B.DAT"};
    const Bytes data(100, 0x11);
    constexpr auto D = FRAMING_DOLLAR;
    const std::vector<Row> rows = {
        {"ReadMainInfo", ReadMainInfo, 9, 'V', 'C', 1, D},
        {"ConnectInternalRadio", ConnectInternalRadio, 10, 'G', 'Q', 2, D},
        {"StartSnrTest", StartSnrTest, 10, 'G', 'Q', 11, D},
        {"StopSnrTest", StopSnrTest, 10, 'G', 'Q', 0, FRAMING_IDLE},
        {"ReadNetModuleBand", ReadNetModuleBand, 9, 'G', 'F', 7, D},
        {"SetNetModuleBand", B(SetNetModuleBand(o, e, 1, 2)), 11, 'G', 'F', 8, D},
        {"ReadNetParams", ReadNetParams, 9, 'G', 'C', 20, D},
        {"SetNetParams", B(SetNetParams(o, e, net)), 169, 'G', 'C', 21, D},
        {"ReadApnParams", ReadApnParams, 9, 'G', 'A', 22, D},
        {"SetApnParams", B(SetApnParams(o, e, "u", "p")), 109, 'G', 'A', 23, D},
        {"SetWifiPassword", B(SetWifiPassword(o, e, "abc")), 70, 'G', 'Y', 49, D},
        {"SetRemotePassword", B(SetRemotePassword(o, e, "abc")), 41, 'I', 'C', 34, D},
        {"ReadCollectParams", ReadCollectParams, 9, 'F', 'J', 12, D},
        {"SetCollectParams", B(SetCollectParams(o, e, 5, 10)), 11, 'F', 'J', 13, D},
        {"ReadStoreLocation", ReadStoreLocation, 9, 'F', 'E', 19, D},
        {"SetStoreLocation", B(SetStoreLocation(o, e, true)), 10, 'F', 'E', 18, D},
        {"ReadFileNaming", ReadFileNaming, 9, 'F', 'K', 38, D},
        {"SetFileNaming", B(SetFileNaming(o, e, "a", "1")), 13, 'F', 'K', 37, D},
        {"ReadFileList", B(ReadFileList(o, e, 0)), 12, 'F', 'M', 15, D},
        {"DeleteFiles", B(DeleteFiles(o, e, files)), 25, 'F', 'D', 16, D},
        {"FormatFiles", FormatFiles, 9, 'F', 'D', 17, D},
        {"ReadRecordingState", ReadRecordingState, 9, 'F', 'C', 46, D},
        {"StartDownload", B(StartDownload(o, e, "F1")), 17, 'F', 't', 24, D},
        {"NextDownloadBlock", NextDownloadBlock, 9, 'F', 't', 24, D},
        {"StopDownload", StopDownload, 10, 'F', 't', 28, D},
        {"VoiceSwitch 0xAA", B(VoiceSwitch(o, e, VoiceSwitchCode::VoiceOn)), 13, 'S', 'I', 35, D},
        {"VoiceSwitch 0x55", B(VoiceSwitch(o, e, VoiceSwitchCode::VoiceOff)), 13, 'S', 'I', 36, D},
        {"VoiceSwitch 0xBB", B(VoiceSwitch(o, e, VoiceSwitchCode::StaticVoiceOff)), 13, 'S', 'I',
         45, D},
        {"ReadStaticVoice", ReadStaticVoice, 10, 'V', 'V', 50, D},
        {"SetStaticVoice", B(SetStaticVoice(o, e, true)), 11, 'V', 'V', 51, D},
        {"ReadVoiceBlock for a set", B(ReadVoiceBlock(o, e, VoiceBlockRead::ForSet)), 9, 'I', 'K',
         40, D},
        {"ReadVoiceBlock for RINEX", B(ReadVoiceBlock(o, e, VoiceBlockRead::RinexFlag)), 9, 'I',
         'K', 41, D},
        {"ReadVoiceBlock for voice and volume",
         B(ReadVoiceBlock(o, e, VoiceBlockRead::VoiceTypeAndVolume)), 9, 'I', 'K', 44, D},
        {"SetVoiceType", B(SetVoiceType(o, e, state, 2)), 41, 'I', 'K', 43, D},
        {"SetRinexFlag", B(SetRinexFlag(o, e, state, true)), 41, 'I', 'K', 42, D},
        {"SetVolume", B(SetVolume(o, e, state, 5)), 41, 'I', 'K', 48, D},
        {"FirmwareStart", B(FirmwareStart(o, e, 1, false)), 10, 'V', 'S', 30, D},
        {"FirmwareBlock large", B(FirmwareBlock(o, e, state, FirmwareLayout::Large, data, 0)), 521,
         'V', 'X', 31, D},
        {"FirmwareBlock small 88", B(FirmwareBlock(o, e, state, FirmwareLayout::Small88, data, 0)),
         137, 'V', 'X', 31, D},
        {"FirmwareBlock small 98", B(FirmwareBlock(o, e, state, FirmwareLayout::Small98, data, 0)),
         267, 'V', 'X', 31, D},
        {"ReadRadioChannels", ReadRadioChannels, 7, 'x', 'y', 3, FRAMING_RADIO},
        {"ReadAirBaud", ReadAirBaud, 7, 'x', 'y', 4, FRAMING_RADIO},
        {"SetAirBaud", B(SetAirBaud(o, e, 9600)), 12, 'x', 'y', 6, FRAMING_RADIO},
        {"WriteRadioChannels", B(WriteRadioChannels(o, e, ChannelTable{})), 100, 'x', 'y', 5,
         FRAMING_RADIO},
        {"ReadBoardSerial", ReadBoardSerial, 6, 'x', 'y', 9, FRAMING_PACKET},
        {"ReadBoardVersion", ReadBoardVersion, 15, 'x', 'y', 10, FRAMING_ASCII},
    };
    for (const auto& row : rows) {
        Bytes out;
        ExpectedReply expected;
        expected.arm('x', 'y', 99, FRAMING_IDLE);
        const std::size_t written = row.build(out, expected);
        EXPECT_EQ(written, row.bytes) << row.name;
        EXPECT_EQ(out.size(), row.bytes) << row.name;
        EXPECT_EQ(expected.replyClass, row.cls) << row.name;
        EXPECT_EQ(expected.replySub, row.sub) << row.name;
        EXPECT_EQ(expected.kind, row.kind) << row.name;
        EXPECT_EQ(expected.mode, row.mode) << row.name;
    }
}

// ---------------------------------------------------------------------------------------------
// Network parameters.

NetParams withLogin(std::size_t joinedLength) {
    NetParams p;
    p.vrsName = "u";
    p.vrsPassword = std::string(joinedLength - 2, 'p'); // "u" ':' password
    return p;
}

TEST(SetNetParams, placesEveryFieldAtItsOffset) {
    NetParams p;
    p.netMode = 1;
    p.communicationMode = 2;
    p.groupId1 = 1234;
    p.groupId2 = 56;
    p.userId = 200;
    p.ip = {192, 168, 1, 20};
    p.port = 2101;
    p.phoneNumber = "*99***1#-and-more-than-16";
    p.apnName = "internet";
    p.vrsName = "user";
    p.vrsPassword = "pass";
    p.sourceNode = "MOUNT";
    p.url = "caster.example";
    p.isUrl = false;

    Bytes out;
    ExpectedReply expected;
    ASSERT_EQ(SetNetParams(out, expected, p), 169u);
    EXPECT_THAT(Bytes(out.begin(), out.begin() + 6),
                ElementsAreArray({0x24, 0x24, 0x47, 0x43, 0xA0, 0x00}));
    const Bytes payload(out.begin() + 6, out.begin() + 166);
    EXPECT_THAT(Bytes(payload.begin(), payload.begin() + 13),
                ElementsAreArray({1, 2, 0x04, 0xD2, 56, 200, 192, 168, 1, 20, 0x08, 0x35, 0}));
    EXPECT_EQ(textOf(payload, 13, 16), "*99***1#-and-mor");
    EXPECT_EQ(textOf(payload, 29, 30), std::string("internet") + std::string(22, '\0'));
    EXPECT_EQ(textOf(payload, 59, 30), std::string("dXNlcjpwYXNz") + std::string(18, '\0'));
    EXPECT_EQ(textOf(payload, 89, 30), std::string("MOUNT") + std::string(25, '\0'));
    EXPECT_EQ(payload[119], 0);
    EXPECT_EQ(textOf(payload, 120, 40), std::string(40, '\0')); // no name without isUrl

    // Given by name: the address is all zero, the flag is set and the name is sent.
    p.isUrl = true;
    p.url = std::string(35, 'n');
    ASSERT_EQ(SetNetParams(out, expected, p), 169u);
    const Bytes named(out.begin() + 6, out.begin() + 166);
    EXPECT_THAT(Bytes(named.begin() + 6, named.begin() + 10), ElementsAreArray({0, 0, 0, 0}));
    EXPECT_EQ(named[119], 1);
    EXPECT_EQ(textOf(named, 120, 30), std::string(30, 'n'));
    EXPECT_EQ(textOf(named, 150, 10), std::string(10, '\0'));
}

TEST(SetNetParams, choosesTheLoginFormByTheLengthOfItsBase64Text) {
    struct Case {
        std::size_t joined;  // characters of "user:password"
        std::size_t written; // 0 = refused
    };
    const std::vector<Case> cases = {
        {2, 169},  {21, 169}, // up to 28 Base64 characters: short form
        {22, 199}, {42, 199}, // 32 to 56 characters: long form
        {43, 0},   {80, 0},   // 60 characters and more: cannot be carried
    };
    for (const auto& c : cases) {
        const NetParams p = withLogin(c.joined);
        Bytes out{0x01, 0x02};
        ExpectedReply expected;
        expected.arm('x', 'y', 99, FRAMING_RADIO);
        EXPECT_EQ(SetNetParams(out, expected, p), c.written) << c.joined;
        if (c.written == 0) {
            EXPECT_THAT(out, ElementsAreArray({0x01, 0x02})) << c.joined;
            EXPECT_EQ(expected.kind, 99) << c.joined;
            EXPECT_EQ(expected.mode, FRAMING_RADIO) << c.joined;
            continue;
        }
        EXPECT_EQ(out[4], c.written == 169 ? 0xA0 : 0xBE) << c.joined;
    }
}

TEST(SetNetParams, shortLoginStandsAtOffset59AndNeverLooksLikeTheLongMarker) {
    const NetParams p = withLogin(21);
    const ByteString login = Base64::encode(p.vrsName + ":" + p.vrsPassword);
    ASSERT_EQ(login.size(), 28u);
    Bytes out;
    ExpectedReply expected;
    ASSERT_EQ(SetNetParams(out, expected, p), 169u);
    const Bytes payload(out.begin() + 6, out.begin() + 166);
    EXPECT_EQ(textOf(payload, 59, 28), login);
    EXPECT_EQ(payload[87], 0);
    EXPECT_EQ(payload[88], 0);
}

TEST(SetNetParams, longLoginIsSplitAroundTheMarkerAndJoinsBackToTheLogin) {
    for (const std::size_t joined : {22u, 42u}) {
        const NetParams p = withLogin(joined);
        const ByteString plain = p.vrsName + ":" + p.vrsPassword;
        const ByteString login = Base64::encode(plain);
        Bytes out;
        ExpectedReply expected;
        ASSERT_EQ(SetNetParams(out, expected, p), 199u);
        const Bytes payload(out.begin() + 6, out.begin() + 196);
        EXPECT_EQ(textOf(payload, 59, 28), login.substr(0, 28)) << joined;
        EXPECT_EQ(payload[87], 0x00) << joined;
        EXPECT_EQ(payload[88], 0xAA) << joined;
        const std::size_t rest = login.size() - 28;
        EXPECT_EQ(textOf(payload, 160, rest), login.substr(28)) << joined;
        EXPECT_EQ(textOf(payload, 160 + rest, 30 - rest), std::string(30 - rest, '\0')) << joined;
        // The receiver's copy is read back by joining the 28 bytes at 59 with the 29 at 160.
        std::string stored = textOf(payload, 59, 28) + textOf(payload, 160, 29);
        EXPECT_EQ(Base64::decode(stored), plain) << joined;
    }
}

// ---------------------------------------------------------------------------------------------
// Static files.

TEST(SetFileNaming, sendsTheFirstPrefixCharacterAndAThreeCharacterSerial) {
    struct Case {
        const char* prefix;
        const char* serial;
        Bytes payload;
    };
    const std::vector<Case> cases = {
        {"A", "7", {'A', '0', '0', '7'}},      {"A", "12345", {'A', '1', '2', '3'}},
        {"A", "42", {'A', '0', '4', '2'}},     {"A", "999", {'A', '9', '9', '9'}},
        {" b ", "  5 ", {'b', '0', '0', '5'}}, {"", "1", {0x00, '0', '0', '1'}},
        {"xyz", "", {'x', '0', '0', '0'}},
    };
    for (const auto& c : cases) {
        Bytes out;
        ExpectedReply expected;
        ASSERT_EQ(SetFileNaming(out, expected, c.prefix, c.serial), 13u);
        EXPECT_THAT(Bytes(out.begin() + 6, out.begin() + 10), ElementsAreArray(c.payload))
            << "prefix \"" << c.prefix << "\" serial \"" << c.serial << "\"";
    }
}

TEST(DeleteFiles, namesEachFileByItsNameWithoutExtensionInEightBytes) {
    const std::vector<ByteString> files = {"20160804.DAT", "AB.DAT", "LONGNAME9"};
    Bytes out;
    ExpectedReply expected;
    ASSERT_EQ(DeleteFiles(out, expected, files), 33u);
    EXPECT_EQ(out[4], 24);
    EXPECT_EQ(out[5], 0);
    EXPECT_EQ(textOf(out, 6, 24),
              std::string("20160804") + std::string("AB\0\0\0\0\0\0", 8) + std::string("LONGNAME"));
    EXPECT_EQ(out[30], xorOf(out, 2, 29));
    EXPECT_EQ(out[31], 0x0D);
    EXPECT_EQ(out[32], 0x0A);
}

// ---------------------------------------------------------------------------------------------
// Passwords.

TEST(SetRemotePassword, sendsTheLowerCaseHexDigestInsteadOfThePassword) {
    Bytes out;
    ExpectedReply expected;
    ASSERT_EQ(SetRemotePassword(out, expected, "abc"), 41u);
    EXPECT_EQ(textOf(out, 6, 32), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(SetWifiPassword, sendsTheFixedOldPasswordTextTheNewOneAndATrailingZero) {
    Bytes out;
    ExpectedReply expected;
    ASSERT_EQ(SetWifiPassword(out, expected, "newpass123"), 70u);
    EXPECT_EQ(out[4], 60);
    EXPECT_EQ(textOf(out, 6, 30), std::string("mvkqzjtrwplxbfhnyagcsuodie") + std::string(4, '\0'));
    EXPECT_EQ(textOf(out, 36, 30), std::string("newpass123") + std::string(20, '\0'));
    EXPECT_EQ(out[66], xorOf(out, 2, 65));
    EXPECT_THAT(Bytes(out.begin() + 67, out.end()), ElementsAreArray({0x0D, 0x0A, 0x00}));
}

// ---------------------------------------------------------------------------------------------
// Voice block.

// The block as the reply decoding stores it: the 'I','K' reply without its checksum (38 bytes)
// at the front of the 41-byte area, the rest still as it was.
DecoderState stateWithVoiceBlock() {
    DecoderState state;
    const Bytes reply = {0x24, 0x24, 'I', 'K', 0x20, 0x00};
    std::copy(reply.begin(), reply.end(), state.voiceBlock.begin());
    for (std::size_t i = 0; i < 32; ++i) {
        state.voiceBlock[6 + i] = static_cast<Byte>(0x40 + i);
    }
    return state;
}

TEST(VoiceSetters, changeOnlyTheirOneByteOfTheBlockLastRead) {
    struct Case {
        const char* name;
        std::function<std::size_t(Bytes&, ExpectedReply&, DecoderState&)> set;
        std::size_t index;
        Byte value;
    };
    const std::vector<Case> cases = {
        {"SetVoiceType",
         [](Bytes& o, ExpectedReply& e, DecoderState& s) { return SetVoiceType(o, e, s, 3); }, 0,
         3},
        {"SetRinexFlag",
         [](Bytes& o, ExpectedReply& e, DecoderState& s) { return SetRinexFlag(o, e, s, true); }, 1,
         1},
        {"SetVolume",
         [](Bytes& o, ExpectedReply& e, DecoderState& s) { return SetVolume(o, e, s, 7); }, 31, 7},
    };
    for (const auto& c : cases) {
        DecoderState state = stateWithVoiceBlock();
        Bytes out;
        ExpectedReply expected;
        ASSERT_EQ(c.set(out, expected, state), 41u) << c.name;
        EXPECT_THAT(Bytes(out.begin(), out.begin() + 6),
                    ElementsAreArray({0x24, 0x24, 0x49, 0x4B, 0x20, 0x00}))
            << c.name;
        for (std::size_t i = 0; i < 32; ++i) {
            const Byte before = static_cast<Byte>(0x40 + i);
            EXPECT_EQ(out[6 + i], i == c.index ? c.value : before) << c.name << " byte " << i;
        }
        EXPECT_EQ(out[38], xorOf(out, 2, 37)) << c.name;
        EXPECT_EQ(out[39], 0x0D) << c.name;
        EXPECT_EQ(out[40], 0x0A) << c.name;
    }
}

TEST(VoiceSwitch, buildsNothingForAnUnknownCode) {
    Bytes out{0x01};
    ExpectedReply expected;
    expected.arm('x', 'y', 99, FRAMING_RADIO);
    EXPECT_EQ(VoiceSwitch(out, expected, static_cast<VoiceSwitchCode>(0x12)), 0u);
    EXPECT_THAT(out, ElementsAreArray({0x01}));
    EXPECT_EQ(expected.kind, 99);
}

// ---------------------------------------------------------------------------------------------
// Radio.

TEST(RadioFrequencyCode, countsUnitsOf25KilohertzWithoutFloatTruncation) {
    struct Case {
        double mhz;
        std::uint16_t code;
    };
    const std::vector<Case> cases = {
        {463.125, 18525},
        {0.0, 0},
        // Values that a 32-bit float holds slightly below the channel: the 0.4 kHz lifts them.
        {static_cast<double>(450.025f), 18001},
        {static_cast<double>(463.15f), 18526},
        {410.0124, 16400}, // between two channels: the lower one
        {1638.375, 0xFFFF},
        // Out of the field: never a wrapped-around or undefined code.
        {1638.4, 0xFFFF},
        {1.0e12, 0xFFFF},
        {-1.0, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0xFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(radioFrequencyCode(c.mhz), c.code) << c.mhz;
    }
}

TEST(WriteRadioChannels, sendsAnAllZeroTableWithChecksum0x22AndThirteenZeroBytes) {
    Bytes out;
    ExpectedReply expected;
    ASSERT_EQ(WriteRadioChannels(out, expected, ChannelTable{}), 100u);
    Bytes want(100, 0x00);
    want[0] = 0x96;
    want[1] = 0x55;
    want[2] = 0x80;
    want[3] = 0x61;
    want[86] = 0x22;
    EXPECT_THAT(out, ElementsAreArray(want));
}

TEST(WriteRadioChannels, placesTransmitAndReceiveFrequenciesBigEndian) {
    ChannelTable table{};
    table[0] = {463.125f, 463.125f};
    table[15] = {410.0f, 470.0f};
    Bytes out;
    ExpectedReply expected;
    WriteRadioChannels(out, expected, table);
    EXPECT_EQ(out[6], 0x48);
    EXPECT_EQ(out[7], 0x5D);
    EXPECT_EQ(out[46], 0x48);
    EXPECT_EQ(out[47], 0x5D);
    EXPECT_EQ((out[36] << 8) | out[37], 16400); // channel 15 transmit
    EXPECT_EQ((out[76] << 8) | out[77], 18800); // channel 15 receive
    for (std::size_t i : {38u, 45u, 78u, 85u}) {
        EXPECT_EQ(out[i], 0) << i;
    }
    EXPECT_EQ(out[86], xorOf(out, 0, 85));
}

// ---------------------------------------------------------------------------------------------
// NMEA output.

NmeaOutputChoice choiceOf(Byte port, Byte clear, std::vector<std::pair<Byte, Byte>> sentences) {
    NmeaOutputChoice c;
    c.setPort(port);
    c.setClearAll(clear);
    for (std::size_t s = 0; s < sentences.size(); ++s) {
        c.setOn(s, sentences[s].first);
        c.setRate(s, sentences[s].second);
    }
    return c;
}

TEST(SetNmeaOutputText, writesOneLinePerSentenceInTheFixedOrder) {
    struct Case {
        const char* name;
        NmeaOutputChoice choice;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"all off with clear", choiceOf(0, 1, {}),
         "unlogall com1\r\n"
         "unlog com1 gpgga\r\nunlog com1 gpgsv\r\nunlog com1 gprmc\r\nunlog com1 gpgsa\r\n"
         "unlog com1 gpvtg\r\nunlog com1 gpzda\r\nunlog com1 gpgst\r\n"},
        {"every rate on COM2",
         choiceOf(1, 0, {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}}),
         "log com2 gpgga ontime 1\r\nlog com2 gpgsv ontime 2\r\nlog com2 gprmc ontime 5\r\n"
         "log com2 gpgsa ontime 10\r\nlog com2 gpvtg ontime 0.5\r\nlog com2 gpzda ontime 0.2\r\n"
         "log com2 gpgst ontime \r\n"},
    };
    for (const auto& c : cases) {
        Bytes out;
        EXPECT_EQ(SetNmeaOutputText(out, c.choice), c.text.size()) << c.name;
        EXPECT_EQ(std::string(out.begin(), out.end()), c.text) << c.name;
    }
}

TEST(SetNmeaOutputPacket, buildsTheApplicationFilePacket) {
    Bytes out;
    // COM2, clear, GGA every second, ZDA every 0.2 s.
    ASSERT_EQ(
        SetNmeaOutputPacket(out, choiceOf(1, 1, {{1, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 5}})),
        93u);
    const Bytes want = {
        0x02, 0x00, 0x64, 87,                                       // header
        0x00, 0x00, 0x00, 0x03, 0x00, 0x01, 0x00,                   // application file
        0x07, 0x08, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // clear
        0x07, 0x08, 6,    0x01, 3,    0x00, 0x00, 0x00, 0x00, 0x00, // GGA
        0x07, 0x08, 18,   0x01, 0,    0x00, 0x00, 0x00, 0x00, 0x00, // GSV
        0x07, 0x08, 40,   0x01, 0,    0x00, 0x00, 0x00, 0x00, 0x00, // RMC
        0x07, 0x08, 38,   0x01, 0,    0x00, 0x00, 0x00, 0x00, 0x00, // GSA
        0x07, 0x08, 12,   0x01, 0,    0x00, 0x00, 0x00, 0x00, 0x00, // VTG
        0x07, 0x08, 8,    0x01, 2,    0x00, 0x00, 0x00, 0x00, 0x00, // ZDA
        0x07, 0x08, 13,   0x01, 0,    0x00, 0x00, 0x00, 0x00, 0x00, // GST
        0xCA, 0x03,
    };
    EXPECT_THAT(out, ElementsAreArray(want));

    ASSERT_EQ(SetNmeaOutputPacket(out, choiceOf(0, 0, {})), 83u);
    EXPECT_EQ(out[3], 77);
    EXPECT_EQ(out[81], 0xA5);
    EXPECT_EQ(out[82], 0x03);
}

TEST(SetNmeaOutput, picksTheFormByMotherboardCode) {
    const NmeaOutputChoice choice = choiceOf(0, 1, {});
    Bytes out{0x01};
    EXPECT_EQ(SetNmeaOutput(out, choice, 0), 141u);
    EXPECT_EQ(out[0], 'u');
    EXPECT_EQ(SetNmeaOutput(out, choice, 4), 93u);
    EXPECT_EQ(out[0], 0x02);
    EXPECT_EQ(SetNmeaOutput(out, choice, 10), 0u);
    EXPECT_TRUE(out.empty());
}

// ---------------------------------------------------------------------------------------------
// Firmware blocks.

TEST(FirmwareBlock, laysOutEachFormWithItsCountPositionAndChecksum) {
    Bytes data(101);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<Byte>(i + 1);
    }
    struct Case {
        FirmwareLayout layout;
        std::uint32_t position;
        std::size_t size;
        Bytes header; // bytes 0 to dataOffset - 1
        bool checksum;
    };
    const std::vector<Case> cases = {
        {FirmwareLayout::Large,
         0x10005,
         521,
         {0x24, 0x24, 0x56, 0x58, 0x00, 104, 0x00, 0x05},
         true},
        {FirmwareLayout::Small88,
         0x40008080,
         137,
         {0x24, 0x24, 0x56, 0x58, 104, 0x40, 0x00, 0x80, 0x80},
         false},
        {FirmwareLayout::Small98,
         0x40008300,
         267,
         {0x24, 0x24, 0x56, 0x58, 0x00, 104, 0x40, 0x00, 0x83, 0x00},
         true},
    };
    for (const auto& c : cases) {
        DecoderState state;
        Bytes out;
        ExpectedReply expected;
        ASSERT_EQ(FirmwareBlock(out, expected, state, c.layout, data, c.position), c.size);
        const std::size_t offset = c.header.size();
        EXPECT_THAT(Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(offset)),
                    ElementsAreArray(c.header))
            << c.size;
        EXPECT_TRUE(
            std::equal(data.begin(), data.end(), out.begin() + static_cast<std::ptrdiff_t>(offset)))
            << c.size;
        const std::size_t areaEnd = c.checksum ? c.size - 1 : c.size;
        for (std::size_t i = offset + data.size(); i < areaEnd; ++i) {
            ASSERT_EQ(out[i], 0) << c.size << " byte " << i;
        }
        if (c.checksum) {
            EXPECT_EQ(out[c.size - 1], xorOf(out, offset, c.size - 2)) << c.size;
        }
        EXPECT_EQ(state.firmwareLastLength, 104u) << c.size;
    }
}

TEST(FirmwareBlock, roundsTheCountUpToFourAndNeverBeyondTheDataArea) {
    struct Case {
        FirmwareLayout layout;
        std::size_t read;
        std::uint32_t count;
        std::size_t frame;
    };
    const std::vector<Case> cases = {
        {FirmwareLayout::Small98, 232, 232, 267}, {FirmwareLayout::Small98, 256, 256, 267},
        {FirmwareLayout::Small98, 1, 4, 267},     {FirmwareLayout::Small88, 125, 128, 137},
        {FirmwareLayout::Small88, 300, 128, 137}, {FirmwareLayout::Large, 513, 512, 521},
        {FirmwareLayout::Large, 0, 0, 521},
    };
    for (const auto& c : cases) {
        DecoderState state;
        Bytes out;
        ExpectedReply expected;
        const Bytes data(c.read, 0xA5);
        EXPECT_EQ(FirmwareBlock(out, expected, state, c.layout, data, 0), c.frame) << c.read;
        EXPECT_EQ(state.firmwareLastLength, c.count) << c.read;
    }
}

} // namespace
} // namespace kestrava
