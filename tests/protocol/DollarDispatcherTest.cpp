#include "protocol/DollarDispatcher.h"

#include "protocol/RecordingReplySink.h"
#include "protocol/ReplyFrames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace kestrava::test {
namespace {

class DollarDispatcherTest : public ::testing::Test {
protected:
    ExpectedReply expected;
    DecoderState state;
    RecordingReplySink sink{expected};

    // Decodes a frame (without CR LF) from an exactly-sized copy, so that the address sanitizer
    // catches any read past it.
    void dispatch(const Bytes& frame) {
        const Bytes exact(frame.begin(), frame.end());
        DollarDispatcher::decode(exact.empty() ? nullptr : exact.data(), exact.size(), expected,
                                 state, sink);
    }
    void reply(char cls, char sub, std::int32_t kind, const Bytes& payload) {
        sink.deliveries.clear();
        expected.arm(static_cast<Byte>(cls), static_cast<Byte>(sub), kind);
        dispatch(dollarFrame(cls, sub, payload));
    }
};

Bytes zeros(std::size_t n) {
    return Bytes(n, 0);
}

// --- Delivery and the moment of the reset ---------------------------------------------------

enum class At { Before, After, Never };

TEST_F(DollarDispatcherTest, everyKindIsDeliveredAndResetAtItsMoment) {
    const struct {
        char cls, sub;
        std::int32_t armed;
        Bytes payload;
        std::int32_t delivered;
        At reset;
    } cases[] = {
        {'V', 'C', 1, zeros(39), 1, At::Before},
        {'G', 'Q', 2, bytes({0}), 2, At::After},
        {'G', 'F', 7, bytes({1, 2, 3}), 7, At::After},
        {'G', 'F', 8, {}, 8, At::After},
        {'F', 'J', 12, bytes({5, 10}), 12, At::After},
        {'F', 'J', 13, {}, 13, At::After},
        {'F', 'M', 15, {}, 15, At::Before},
        {'F', 'D', 16, bytes({0}), 16, At::Before},
        {'F', 'D', 17, bytes({1}), 17, At::Before},
        {'F', 'E', 18, {}, 18, At::Before},
        {'F', 'E', 19, bytes({1}), 19, At::Before},
        {'G', 'C', 20, zeros(160), 20, At::Before},
        {'G', 'C', 21, {}, 21, At::Before},
        {'G', 'A', 22, zeros(100), 22, At::Before},
        {'G', 'A', 23, {}, 23, At::Before},
        {'F', 't', 24, bytes({0}), 25, At::Never},
        {'F', 't', 24, bytes({9, 9}), 26, At::Never},
        {'F', 't', 24, bytes({3}), 27, At::Before},
        {'F', 't', 24, {}, 29, At::Before},
        {'S', 'I', 35, {}, 35, At::After},
        {'S', 'I', 36, {}, 36, At::After},
        {'S', 'I', 45, {}, 45, At::After},
        {'F', 'K', 37, {}, 37, At::Before},
        {'F', 'K', 38, text("A007"), 38, At::Before},
        {'I', 'K', 40, zeros(32), 40, At::Never},
        {'I', 'K', 41, zeros(32), 41, At::After},
        {'I', 'K', 42, bytes({0}), 42, At::Never},
        {'I', 'K', 43, bytes({0}), 43, At::Never},
        {'I', 'K', 44, zeros(32), 44, At::After},
        {'I', 'K', 48, bytes({0}), 48, At::Never},
        {'F', 'C', 46, zeros(9), 46, At::Before},
        {'G', 'Y', 49, bytes({2}), 49, At::Before},
        {'V', 'V', 50, bytes({1, 1}), 50, At::After},
        {'V', 'V', 51, bytes({0}), 51, At::After},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.cls) + c.sub + " kind " + std::to_string(c.armed));
        reply(c.cls, c.sub, c.armed, c.payload);
        ASSERT_EQ(sink.deliveries.size(), 1u);
        EXPECT_EQ(sink.only().kind, c.delivered);
        EXPECT_EQ(sink.only().seen.isIdle(), c.reset == At::Before);
        EXPECT_EQ(expected.isIdle(), c.reset != At::Never);
    }
}

TEST_F(DollarDispatcherTest, aCommandSentByTheHandlerStaysArmedWhateverTheResetMoment) {
    sink.duringDelivery = [this] { expected.arm('F', 'M', KindFileList); };
    reply('F', 'J', KindCollectParams, bytes({5, 10})); // reset after the handler
    EXPECT_EQ(expected.kind, KindFileList);
    reply('F', 'K', KindFileNamingSet, {}); // reset before the handler
    EXPECT_EQ(expected.kind, KindFileList);
}

TEST_F(DollarDispatcherTest, silentKindsAndBadChecksumsDeliverNothingAndStayArmed) {
    for (const std::int32_t kind : {std::int32_t{KindSnrTest}, std::int32_t{KindDownloadStop},
                                    std::int32_t{KindNone}, std::int32_t{99}}) {
        reply('G', 'Q', kind, bytes({1}));
        EXPECT_EQ(expected.kind, kind);
    }
    expected.arm('F', 'J', KindCollectParams);
    Bytes frame = dollarFrame('F', 'J', bytes({5, 10}));
    frame.back() ^= 0x40;
    dispatch(frame);
    EXPECT_TRUE(sink.deliveries.empty());
    EXPECT_EQ(expected.kind, KindCollectParams);
}

// Direct calls with lengths below a header must never read outside the frame; only the answer
// that is taken unread (remote password) is delivered.
TEST_F(DollarDispatcherTest, framesShorterThanAHeaderAreSafeForEveryKind) {
    const Bytes full = dollarFrame('G', 'C', zeros(40));
    for (std::int32_t kind = 0; kind <= 52; ++kind) {
        const Byte cls = kind == 30 || kind == 31 ? 'V' : kind == 34 ? 'I' : 'G';
        const Byte sub = kind == 30 ? 'S' : kind == 31 ? 'X' : 'C';
        for (std::size_t n = 0; n < 8; ++n) {
            expected.arm(cls, sub, kind);
            dispatch(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)));
        }
    }
    for (const Delivery& d : sink.deliveries) {
        EXPECT_EQ(d.kind, KindRemotePasswordSet);
    }
}

// The remote password answer is taken whole and unchecked by the splitter; only a complete
// frame with a good checksum and a success status confirms the change (0), anything else is
// delivered as unconfirmed (1).
TEST_F(DollarDispatcherTest, remotePasswordAnswerConfirmsOnlyWhenWellFormedAndSuccessful) {
    Bytes badSum = dollarFrame('I', 'C', bytes({0}));
    badSum.back() ^= 0x01;
    const Bytes good = dollarFrame('I', 'C', bytes({0}));
    const struct {
        const char* name;
        Bytes chunk;
        std::int32_t value;
    } cases[] = {
        {"status 0", good, 0},
        {"status 0 with CR LF", good + bytes({0x0D, 0x0A}), 0},
        {"empty payload", dollarFrame('I', 'C', {}), 0},
        {"status 1", dollarFrame('I', 'C', bytes({1})), 1},
        {"bad checksum", badSum, 1},
        {"cut short", Bytes(good.begin(), good.end() - 1), 1},
        {"header only", bytes({0x24, 0x24, 'I', 'C'}), 1},
    };
    for (const auto& c : cases) {
        sink.deliveries.clear();
        expected.arm('I', 'C', KindRemotePasswordSet);
        dispatch(c.chunk);
        ASSERT_EQ(sink.deliveries.size(), 1u) << c.name;
        EXPECT_EQ(sink.deliveries[0].kind, KindRemotePasswordSet) << c.name;
        EXPECT_EQ(sink.deliveries[0].value, c.value) << c.name;
    }
}

// --- Records --------------------------------------------------------------------------------

TEST_F(DollarDispatcherTest, mainInformationIsDecodedKeptAndNeverReadPastItsPayload) {
    Bytes payload = bytes({0}) + text("1234567") + zeros(31);
    const std::pair<std::size_t, Byte> fields[] = {{13, 25}, {14, '5'}, {15, 1},  {16, 27}, {17, 4},
                                                   {19, 9},  {21, 1},   {37, 12}, {38, 31}};
    for (const auto& [at, value] : fields) {
        payload[at] = value;
    }
    reply('V', 'C', KindMainInfo, payload);
    const MainInfoRecord full{"1234567",           "2.5", '5',   27,    1,
                              MOTHERBOARD_TRIMBLE, 9,     "3.1", "1.2", 0};
    EXPECT_EQ(sink.only().mainInfo, full);
    EXPECT_EQ(state.mainInfo, full);
    EXPECT_EQ(state.receiverVersion, 25);
    EXPECT_EQ(state.motherboardCode, MOTHERBOARD_TRIMBLE);
    EXPECT_EQ(state.moduleCode, 9);

    // Up to the S flag the record is decoded without the module versions; below it not at all.
    payload[0] = 'K';
    payload[17] = 1;
    reply('V', 'C', KindMainInfo, Bytes(payload.begin(), payload.begin() + 22));
    const MainInfoRecord cut{"K1234567", "2.5", '5', 27, 1, MOTHERBOARD_NOVATEL, 9, "", "", 0};
    EXPECT_EQ(sink.only().mainInfo, cut);
    reply('V', 'C', KindMainInfo, Bytes(payload.begin(), payload.begin() + 21));
    EXPECT_TRUE(sink.deliveries.empty());
}

Bytes fileEntry(const char* name, std::uint32_t size, Bytes timeDate = {0, 0, 0, 0}) {
    Bytes e = zeros(32);
    std::copy(name, name + std::strlen(name), e.begin());
    std::copy(timeDate.begin(), timeDate.end(), e.begin() + 14);
    for (int i = 0; i < 4; ++i) {
        e[28 + i] = static_cast<Byte>(size >> (8 * i));
    }
    return e;
}

TEST_F(DollarDispatcherTest, fileListRowsCarryNameSizeAndFatTimestamp) {
    reply('F', 'M', KindFileList, fileEntry("00120950STH", 0, bytes({0xB3, 0x3B, 0x04, 0x49})));
    ASSERT_EQ(sink.only().rows->size(), 1u);
    const FileListRow& row = sink.only().rows->front();
    EXPECT_EQ(row.name, "00120950.STH");
    EXPECT_EQ((std::array<int, 6>{row.year, row.month, row.day, row.hour, row.minute, row.second}),
              (std::array<int, 6>{2016, 8, 4, 7, 29, 38}));

    const std::pair<std::uint32_t, const char*> sizes[] = {
        {0, "0K"}, {1, "1K"}, {1023, "1K"}, {2047, "1K"}, {2048, "2K"}, {0xFFFFFFFF, "4194303K"}};
    Bytes page;
    for (const auto& s : sizes) {
        page = page + fileEntry("F", s.first);
    }
    reply('F', 'M', KindFileList, page + zeros(31)); // and a partial entry is not decoded
    ASSERT_EQ(sink.only().rows->size(), std::size(sizes));
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        EXPECT_EQ((*sink.only().rows)[i].sizeText, sizes[i].second);
        EXPECT_EQ((*sink.only().rows)[i].name, "F"); // no extension: no full stop
    }
}

// Name and extension end each at their own first zero byte: a short name keeps its extension,
// and the name field alone is what a download or delete command carries.
TEST_F(DollarDispatcherTest, fileListNamesAreFormedFromTheirOwnFields) {
    struct Case {
        Bytes field; // the 11 name and extension bytes
        const char* name;
        const char* baseName;
    };
    const auto field = [](std::string_view text) { return Bytes(text.begin(), text.end()); };
    for (const Case& c : {
             Case{field("ABCDEFGHDAT"), "ABCDEFGH.DAT", "ABCDEFGH"},
             Case{field(std::string_view("ABC\0\0\0\0\0DAT", 11)), "ABC.DAT", "ABC"},
             Case{field(std::string_view("A\0\0\0\0\0\0\0D\0\0", 11)), "A.D", "A"},
             Case{field(std::string_view("AB\0XYZ\0\0STH", 11)), "AB.STH", "AB"},
         }) {
        Bytes entry = zeros(32);
        std::copy(c.field.begin(), c.field.end(), entry.begin());
        reply('F', 'M', KindFileList, entry);
        ASSERT_EQ(sink.only().rows->size(), 1u);
        EXPECT_EQ(sink.only().rows->front().name, c.name);
        EXPECT_EQ(sink.only().rows->front().baseName, c.baseName);
    }
}

Bytes netPayload(std::size_t size, std::string_view head, std::string_view tail = {},
                 Bytes marker = {}) {
    Bytes p = bytes({1, 2, 0x04, 0xD2, 56, 200, 192, 168, 1, 10, 0x08, 0x3A}) + zeros(size - 12);
    const auto put = [&p](std::size_t at, std::string_view s) {
        std::copy(s.begin(), s.end(), p.begin() + static_cast<std::ptrdiff_t>(at));
    };
    put(13, "13800000000");
    put(29, "cmnet");
    put(59, head);
    std::copy(marker.begin(), marker.end(), p.begin() + 87);
    put(89, "RTCM32");
    p[119] = 1;
    put(120, "caster.example.net");
    if (size > 160) {
        put(160, tail);
        p[188] = 0xFF; // unused login bytes of the long form may be 0xFF
    }
    return p;
}

TEST_F(DollarDispatcherTest, networkParametersCarryEveryField) {
    reply('G', 'C', KindNetParams, netPayload(160, "dXNlcjpwYXNz")); // "user:pass"
    const NetParams expectedParams{2,
                                   1,
                                   1234,
                                   56,
                                   200,
                                   {192, 168, 1, 10},
                                   2106,
                                   "13800000000",
                                   "cmnet",
                                   "user",
                                   "pass",
                                   "RTCM32",
                                   "caster.example.net",
                                   true};
    EXPECT_EQ(sink.only().net, expectedParams);

    reply('G', 'C', KindNetParams, zeros(159)); // cut short: not delivered, timeout reports
    EXPECT_TRUE(sink.deliveries.empty());
}

TEST_F(DollarDispatcherTest, theLoginIsReadFromTheShortOrTheLongForm) {
    // "someuser:somepassword1234567890" in Base64 is 44 characters: 28 at 59 and 16 at 160.
    const std::string_view login = "c29tZXVzZXI6c29tZXBhc3N3b3JkMTIzNDU2Nzg5MA==";
    const struct {
        Bytes payload;
        const char* user;
        const char* password;
    } cases[] = {
        {netPayload(160, "bm9jb2xvbg=="), "", "nocolon"},
        {netPayload(160, "OnB3"), "", "pw"},
        {netPayload(190, login.substr(0, 28), login.substr(28), bytes({0, 0xAA})), "someuser",
         "somepassword1234567890"},
        // Without the marker only the first part counts.
        {netPayload(190, login.substr(0, 28), login.substr(28), bytes({0, 0})), "someuser",
         "somepassword"},
    };
    for (const auto& c : cases) {
        reply('G', 'C', KindNetParams, c.payload);
        ASSERT_TRUE(sink.only().net);
        EXPECT_EQ(sink.only().net->vrsName, c.user);
        EXPECT_EQ(sink.only().net->vrsPassword, c.password);
    }
}

// --- Voice block ----------------------------------------------------------------------------

TEST_F(DollarDispatcherTest, aVoiceBlockReadForASetIsStoredWholeOrNotAtAll) {
    Bytes block = zeros(32);
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<Byte>(i + 1);
    }
    reply('I', 'K', KindVoiceBlockForSet, block);
    const Bytes frame = dollarFrame('I', 'K', block);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end() - 1, state.voiceBlock.begin()));
    EXPECT_EQ(state.voiceBlock[38], 0xFF);

    reply('I', 'K', KindVoiceBlockForSet, Bytes(200, 0x11)); // fills the area and no more
    EXPECT_EQ(state.voiceBlock[40], 0x11);
    const auto stored = state.voiceBlock;
    reply('I', 'K', KindVoiceBlockForSet, Bytes(31, 0x22)); // a cut block is not taken
    EXPECT_EQ(state.voiceBlock, stored);
    EXPECT_TRUE(sink.deliveries.empty());
}

TEST_F(DollarDispatcherTest, voiceParametersReportVolumeTenOutsideOneToTen) {
    const struct {
        std::size_t payloadSize;
        Byte volume;
        Byte reported;
    } cases[] = {{32, 0, 10}, {32, 11, 10}, {32, 1, 1}, {32, 10, 10}, {30, 7, 10}};
    for (const auto& c : cases) {
        Bytes payload = zeros(c.payloadSize);
        payload[0] = 3;
        payload[std::min<std::size_t>(31, c.payloadSize - 1)] = c.volume;
        reply('I', 'K', KindVoiceParams, payload);
        EXPECT_EQ(sink.only().bytes, (BytePair{3, c.reported})) << int(c.volume);
    }
}

// --- Download and firmware transfer ---------------------------------------------------------

TEST_F(DollarDispatcherTest, downloadRepliesByLengthAndStatus) {
    const struct {
        Bytes payload;
        std::int32_t delivered; // 0: nothing
    } cases[] = {
        {bytes({0}), KindDownloadReady},
        {bytes({1}), KindDownloadFailed},
        {bytes({2}), KindDownloadFailed},
        {bytes({3}), KindDownloadDone},
        {bytes({4}), 0},
        {{}, KindDownloadFailed},
        {Bytes(4095, 0x5A), KindDownloadBlock},
        {Bytes(4096, 0x5A), KindDownloadFailed},
    };
    for (const auto& c : cases) {
        reply('F', 't', KindDownload, c.payload);
        EXPECT_EQ(sink.only().kind, c.delivered) << c.payload.size();
    }
    reply('F', 't', KindDownload, Bytes(4095, 0x5A));
    EXPECT_EQ(sink.only().downloadPayload, Bytes(4095, 0x5A));

    // A block that states more bytes than its frame holds is never handed on.
    expected.arm('F', 't', KindDownload);
    sink.deliveries.clear();
    Bytes frame = bytes({0x24, 0x24, 'F', 't', 100, 0}) + Bytes(10, 0x33);
    frame.push_back(static_cast<Byte>('F' ^ 't' ^ 100));
    dispatch(frame);
    EXPECT_TRUE(sink.deliveries.empty());
}

TEST_F(DollarDispatcherTest, firmwareAnswersCheckHardwareCodeAndAddress) {
    state.firmwareHardwareCode = 88;
    state.firmwareAddress = 0x40008100;
    state.firmwareLastLength = 0x100;
    const struct {
        char sub;
        Bytes frame;
        std::int32_t value; // -1: nothing
    } cases[] = {
        {'S', bytes({0x24, 0x24, 'V', 'S', 1, 88, 0, 0}), 1},
        {'S', bytes({0x24, 0x24, 'V', 'S', 1, 88, 0, 1}), 2},
        {'S', bytes({0x24, 0x24, 'V', 'S', 1, 98, 0, 1}), 0},
        {'S', bytes({0x24, 0x24, 'V', 'S', 0, 88, 0, 0}), -1},
        {'X', bytes({0x24, 0x24, 'V', 'X', 1, 0, 0x40, 0x00, 0x80, 0x00}), 0},
        {'X', bytes({0x24, 0x24, 'V', 'X', 1, 0, 0x40, 0x00, 0x81, 0x00}), 5},
        {'X', bytes({0x24, 0x24, 'V', 'X', 1, 0, 0x40, 0x00, 0x80}), -1},
        {'X', bytes({0x24, 0x24, 'V', 'X', 1, 9}), 3},
        {'X', bytes({0x24, 0x24, 'V', 'X', 2, 1}), -1},
    };
    for (const auto& c : cases) {
        sink.deliveries.clear();
        expected.arm('V', static_cast<Byte>(c.sub), c.sub == 'S' ? 30 : 31);
        dispatch(c.frame);
        EXPECT_EQ(sink.deliveries.empty() ? -1 : *sink.only().value, c.value);
    }
}

TEST_F(DollarDispatcherTest, theFourthRefusalInARowEndsTheTransfer) {
    for (const Byte status : {Byte{1}, Byte{2}}) {
        sink.deliveries.clear();
        for (int i = 0; i < 4; ++i) {
            expected.arm('V', 'X', KindFirmwareBlock);
            dispatch(bytes({0x24, 0x24, 'V', 'X', 1, status}));
        }
        ASSERT_EQ(sink.deliveries.size(), 4u);
        EXPECT_EQ(sink.deliveries[2].value, 10);
        EXPECT_EQ(sink.deliveries[3].value, status);
        EXPECT_TRUE(expected.isIdle());
    }
    // An accepted block starts the count again.
    state.firmwareRetryCount = 2;
    state.firmwareLastLength = 0x80;
    state.firmwareAddress = 0x80;
    expected.arm('V', 'X', KindFirmwareBlock);
    dispatch(bytes({0x24, 0x24, 'V', 'X', 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(state.firmwareRetryCount, 0);
}

} // namespace
} // namespace kestrava::test
