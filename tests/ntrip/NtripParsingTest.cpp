// What the caster check reads: sourcetables, answers, chunked bodies, RTCM 3 frames and the
// reference station's position, on bytes as casters send them.
#include "ntrip/CasterReply.h"
#include "ntrip/ChunkedBody.h"
#include "ntrip/Crc24q.h"
#include "ntrip/NtripRequest.h"
#include "ntrip/Rtcm3Framer.h"
#include "ntrip/Sourcetable.h"
#include "ntrip/StationPosition.h"

#include <gmock/gmock.h>

#include <map>
#include <string>

namespace kestrava {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kTable =
    "STR;MP1;Hangzhou;RTCM 3.2;1005(10),1074(1),1084(1);2;GPS+GLO;NET1;CHN;30.25;120.13;0;0;"
    "sNTRIP;none;B;N;9600;\r\n"
    "STR;RTCM33_GRCE;Seoul;RTCM 3.3;1006(10),1077(1);2;GPS+GLO+GAL+BDS;;KOR;37.56;126.99;1;1;"
    "Trimble;none;N;Y;3000;extra;more\r\n"
    "STR;;no name;RTCM 3\r\n"
    "CAS;caster.example.com;2101;Example;Operator;0;DEU;50.09;8.66;fallback.example.com;2102;"
    "http://example.com\r\n"
    "NET;NET1;Operator;B;N;http://net;http://str;mail@example.com;\r\n"
    "XYZ;ignored\r\n"
    "ENDSOURCETABLE\r\n"
    "STR;AFTER;the end\r\n";

TEST(Sourcetable, readsEveryFieldOfItsStrCasAndNetLines) {
    const Sourcetable table = Sourcetable::parse(kTable);
    ASSERT_EQ(table.streams().size(), 2u);
    EXPECT_TRUE(table.complete());
    const StreamEntry& mp1 = table.streams()[0];
    EXPECT_EQ(mp1.mountPoint, "MP1");
    EXPECT_EQ(mp1.identifier, "Hangzhou");
    EXPECT_EQ(mp1.format, "RTCM 3.2");
    EXPECT_EQ(mp1.formatDetails, "1005(10),1074(1),1084(1)");
    EXPECT_EQ(mp1.carrier, "2");
    EXPECT_EQ(mp1.navSystems, "GPS+GLO");
    EXPECT_EQ(mp1.network, "NET1");
    EXPECT_EQ(mp1.country, "CHN");
    EXPECT_EQ(mp1.latitude, "30.25");
    EXPECT_EQ(mp1.longitude, "120.13");
    EXPECT_EQ(mp1.nmea, "0");
    EXPECT_EQ(mp1.solution, "0");
    EXPECT_EQ(mp1.generator, "sNTRIP");
    EXPECT_EQ(mp1.compression, "none");
    EXPECT_EQ(mp1.authentication, "B");
    EXPECT_EQ(mp1.fee, "N");
    EXPECT_EQ(mp1.bitrate, "9600");
    EXPECT_TRUE(mp1.misc.empty());
    EXPECT_THAT(table.streams()[1].misc, ElementsAre("extra", "more"));
    EXPECT_EQ(table.find("RTCM33_GRCE")->nmea, "1");
    EXPECT_EQ(table.find("mp1"), nullptr); // mount points compare exactly
    ASSERT_EQ(table.casters().size(), 1u);
    EXPECT_EQ(table.casters()[0].host, "caster.example.com");
    EXPECT_EQ(table.casters()[0].fallbackPort, "2102");
    ASSERT_EQ(table.networks().size(), 1u);
    EXPECT_EQ(table.networks()[0].webReg, "mail@example.com");
}

TEST(Sourcetable, aTableCutShortKeepsItsWholeLinesAndSaysSo) {
    const Sourcetable table = Sourcetable::parse("STR;A;a;RTCM 3\nSTR;B;b\nSTR;C");
    EXPECT_FALSE(table.complete());
    EXPECT_EQ(table.streams().size(), 3u); // a line without its end is still a line
    EXPECT_EQ(table.streams()[2].mountPoint, "C");
    EXPECT_TRUE(Sourcetable::parse("").streams().empty());
}

struct ReplyCase {
    const char* name;
    std::string received;
    bool whole;
    std::size_t bodyAt;
    CasterReply::Kind kind;
    int status;
    bool chunked;
};

class CasterReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(CasterReplyTest, tellsTheAnswersApart) {
    const ReplyCase& c = GetParam();
    const auto end = CasterReply::headerEnd(c.received);
    ASSERT_EQ(end.has_value(), c.whole);
    if (!c.whole) {
        return;
    }
    EXPECT_EQ(*end, c.bodyAt);
    const CasterReply reply = CasterReply::parse(std::string_view(c.received).substr(0, *end));
    EXPECT_EQ(reply.kind, c.kind);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_EQ(reply.chunked, c.chunked);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CasterReplyTest,
    ::testing::Values(
        ReplyCase{"icyStreamStartsAfterItsLine", "ICY 200 OK\r\n\xD3\x00\x13", true, 12,
                  CasterReply::Kind::Stream, 200, false},
        ReplyCase{"sourcetableOfVersionOne",
                  "SOURCETABLE 200 OK\r\nServer: RTKLIB 2.4.3\r\nContent-Length: 112\r\n\r\nSTR;",
                  true, 65, CasterReply::Kind::Sourcetable, 200, false},
        ReplyCase{"unauthorizedWithoutAHeader", "HTTP/1.0 401 Unauthorized\r\n\r\n", true, 29,
                  CasterReply::Kind::Unauthorized, 401, false},
        ReplyCase{"versionTwoSourcetableChunked",
                  "HTTP/1.1 200 OK\r\nNtrip-Version: Ntrip/2.0\r\nContent-Type: "
                  "gnss/sourcetable\r\nTransfer-Encoding: chunked\r\n\r\n",
                  true, 105, CasterReply::Kind::Sourcetable, 200, true},
        ReplyCase{"versionTwoData",
                  "HTTP/1.1 200 OK\r\nContent-Type: gnss/data\r\nTransfer-Encoding: "
                  "Chunked\r\n\r\n1d\r\n",
                  true, 72, CasterReply::Kind::Stream, 200, true},
        ReplyCase{"notFound", "HTTP/1.1 404 Not Found\r\n\r\n", true, 26,
                  CasterReply::Kind::NotFound, 404, false},
        ReplyCase{"serverError", "HTTP/1.1 503 Service Unavailable\n\n", true, 34,
                  CasterReply::Kind::Other, 503, false},
        ReplyCase{"headerStillComing", "HTTP/1.1 200 OK\r\nContent-Type: gnss/data\r\n", false, 0,
                  CasterReply::Kind::Other, 0, false},
        ReplyCase{"noLineYet", "ICY 200", false, 0, CasterReply::Kind::Other, 0, false}),
    [](const ::testing::TestParamInfo<ReplyCase>& param) { return std::string(param.param.name); });

TEST(ChunkedBody, joinsChunksArrivingByteByByteAndStopsAtTheLastOne) {
    // Recorded from a caster of the second version (extensions and a trailer included).
    const std::string transfer = "1c;ext=1\r\nSTR;MP1;a;RTCM 3.2;1005;2;\r\n\r\n"
                                 "10\r\nENDSOURCETABLE\r\n\r\n0\r\nTrailer: x\r\n\r\nignored";
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, transfer.size()}) {
        ChunkedBody chunks;
        std::string body;
        for (std::size_t at = 0; at < transfer.size(); at += piece) {
            const std::string part = transfer.substr(at, piece);
            chunks.feed(reinterpret_cast<const std::uint8_t*>(part.data()), part.size(), body);
        }
        EXPECT_TRUE(chunks.finished()) << piece;
        EXPECT_EQ(body, "STR;MP1;a;RTCM 3.2;1005;2;\r\nENDSOURCETABLE\r\n") << piece;
    }
}

TEST(ChunkedBody, aSizeThatIsNotHexBreaksTheBody) {
    for (const std::string transfer : {"zz\r\nabc", "5\r\nabcdeXX\r\n", "ffffffffffffff\r\n"}) {
        ChunkedBody chunks;
        std::string body;
        chunks.feed(reinterpret_cast<const std::uint8_t*>(transfer.data()), transfer.size(), body);
        EXPECT_TRUE(chunks.broken()) << transfer;
    }
}

TEST(Crc24q, matchesTheKnownValueOfAFrame) {
    // A 1005 frame as published with the standard: D3 00 13 3E D7 D3 02 02 98 0E DE EF 34 B4 BD
    // 62 AC 09 41 98 6F 33, CRC 36 0B 98.
    const std::vector<std::uint8_t> frame = {0xD3, 0x00, 0x13, 0x3E, 0xD7, 0xD3, 0x02, 0x02,
                                             0x98, 0x0E, 0xDE, 0xEF, 0x34, 0xB4, 0xBD, 0x62,
                                             0xAC, 0x09, 0x41, 0x98, 0x6F, 0x33};
    EXPECT_EQ(Crc24q(frame.data(), frame.size()), 0x360B98u);
    const auto station = StationPosition::decode(frame.data() + 3, frame.size() - 3);
    ASSERT_TRUE(station);
    EXPECT_EQ(station->stationId, 2003);
    EXPECT_NEAR(station->x, 1114104.5999, 1e-4);
    EXPECT_NEAR(station->y, -4850729.7108, 1e-4);
    EXPECT_NEAR(station->z, 3975521.4643, 1e-4);
}

TEST(Rtcm3Framer, findsFramesInPiecesAmongNoiseAndCountsBrokenOnes) {
    const std::vector<std::uint8_t> a = Rtcm3Framer::frame({0x3E, 0xD0, 1, 2, 3});    // 1005
    const std::vector<std::uint8_t> b = Rtcm3Framer::frame({0x43, 0x20, 9, 9, 9, 9}); // 1074
    std::vector<std::uint8_t> broken = b;
    broken[5] ^= 0xFF;
    std::vector<std::uint8_t> stream = {'I', 'C', 'Y', 0xD3, 0xFF}; // noise, a false start
    for (const std::vector<std::uint8_t>* part :
         std::initializer_list<const std::vector<std::uint8_t>*>{&a, &broken, &b, &a}) {
        stream.insert(stream.end(), part->begin(), part->end());
    }
    for (const std::size_t piece : {std::size_t{1}, std::size_t{4}, stream.size()}) {
        std::map<int, int> seen;
        Rtcm3Framer framer([&seen](const std::uint8_t* payload, std::size_t size) {
            ++seen[Rtcm3Framer::messageNumber(payload, size)];
        });
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            framer.feed(stream.data() + at, std::min(piece, stream.size() - at));
        }
        EXPECT_EQ(seen, (std::map<int, int>{{1005, 2}, {1074, 1}})) << piece;
        EXPECT_EQ(framer.validFrames(), 3u) << piece;
        EXPECT_EQ(framer.badFrames(), 1u) << piece;
    }
}

TEST(StationPosition, aKnownPlaceSurvivesEncodingAndDecodingBothMessages) {
    const GeodeticPosition hangzhou{30.2519, 120.12595, 35.2};
    StationPosition station = StationPosition::fromGeodetic(hangzhou, 17);
    station.antennaHeight = 1.5;
    for (const bool withHeight : {false, true}) {
        const std::vector<std::uint8_t> payload = station.encode(withHeight);
        EXPECT_EQ(Rtcm3Framer::messageNumber(payload.data(), payload.size()),
                  withHeight ? 1006 : 1005);
        const auto decoded = StationPosition::decode(payload.data(), payload.size());
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->stationId, 17);
        const GeodeticPosition back = decoded->geodetic();
        EXPECT_NEAR(back.latitude, hangzhou.latitude, 1e-8);
        EXPECT_NEAR(back.longitude, hangzhou.longitude, 1e-8);
        EXPECT_NEAR(back.height, hangzhou.height, 1e-3);
        EXPECT_NEAR(decoded->antennaHeight, withHeight ? 1.5 : 0.0, 1e-4);
    }
    // A tenth of a degree of latitude is about 11.1 km.
    EXPECT_NEAR(StationPosition::distance(hangzhou, {30.3519, 120.12595, 0}), 11119.5, 1.0);
    EXPECT_FALSE(StationPosition::decode(station.encode(false).data(), 10));
}

TEST(NtripRequest, asksInTheFirstOrTheSecondVersionWithABasicLogin) {
    NtripRequest request;
    request.host = "caster.example.com";
    request.mountPoint = "MP1";
    request.user = "user";
    request.password = "pw";
    EXPECT_EQ(request.bytes(), "GET /MP1 HTTP/1.0\r\nHost: caster.example.com:2101\r\n"
                               "User-Agent: NTRIP Kestrava/1.0\r\n"
                               "Authorization: Basic dXNlcjpwdw==\r\n\r\n");
    request.version = NtripRequest::Version::V2;
    request.mountPoint.clear();
    request.user.clear();
    request.password.clear();
    EXPECT_EQ(request.bytes(), "GET / HTTP/1.1\r\nHost: caster.example.com:2101\r\n"
                               "Ntrip-Version: Ntrip/2.0\r\nUser-Agent: NTRIP Kestrava/1.0\r\n"
                               "Connection: close\r\n\r\n");
}

} // namespace
} // namespace kestrava
