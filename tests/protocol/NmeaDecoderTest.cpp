// The NMEA the receiver sends, among its replies: which sentences count and what they say.
#include "protocol/NmeaDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrava {
namespace {

std::size_t feed(NmeaDecoder& decoder, const std::string& text) {
    return decoder.feed(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

const std::string kGga =
    "$GNGGA,021503.00,3015.1234,N,12007.5678,E,4,14,0.6,35.2,M,7.1,M,1.0,0000*57\r\n";

TEST(NmeaDecoder, readsGgaRmcGsaAndGsvFromAStreamMixedWithReplies) {
    NmeaDecoder decoder;
    const std::string stream =
        std::string("$$\x56\x43\x01\x00\x00\x15\r\n", 10) + kGga +
        "$GPRMC,021503.00,A,3015.1234,N,12007.5678,E,0.0,0.0,091226,,,A*5E\r\n"
        "$GPGSA,A,3,05,13,15,29,,,,,,,,,1.6,0.9,1.3*36\r\n"
        "$GPGSV,3,1,11,05,62,040,45,13,41,305,43,15,22,090,38,29,70,210,47*73\r\n"
        "$GLGSV,1,1,04,65,30,040,40*51\r\n";
    // Byte by byte as well as whole: a sentence may arrive in pieces.
    std::size_t completed = 0;
    for (const char c : stream) {
        completed += decoder.feed(reinterpret_cast<const std::uint8_t*>(&c), 1);
    }
    const NmeaFix& fix = decoder.fix();
    EXPECT_EQ(decoder.count("GGA"), 1u);
    EXPECT_EQ(fix.time, "021503.00");
    EXPECT_EQ(fix.quality, 4);
    EXPECT_STREQ(NmeaFix::qualityName(fix.quality), "RTK fixed");
    EXPECT_EQ(fix.satellites, 14);
    EXPECT_DOUBLE_EQ(*fix.hdop, 0.6);
    EXPECT_DOUBLE_EQ(*fix.age, 1.0);
    EXPECT_NEAR(*fix.latitude, 30.25205667, 1e-8);
    EXPECT_NEAR(*fix.longitude, 120.12613, 1e-8);
    EXPECT_DOUBLE_EQ(*fix.height, 35.2);
    EXPECT_EQ(fix.date, "091226");
    EXPECT_EQ(fix.mode, 3);
    EXPECT_DOUBLE_EQ(*fix.pdop, 1.6);
    EXPECT_EQ(fix.inView, 15);
    (void)completed;
}

TEST(NmeaDecoder, passesOverWhatIsNoSentence) {
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"badChecksum", "$GNGGA,021503.00,3015.1234,N,12007.5678,E,1,08,0.9,35.2,M,7.1,M,,*00\r\n"},
        {"noChecksum", "$GNGGA,021503.00,3015.1234,N,12007.5678,E,1,08,0.9,35.2,M,7.1,M,,\r\n"},
        {"cutByANewStart", "$GNGGA,021503.00,3015.1234$GP\r\n"},
        {"binaryInside", std::string("$GNGGA,02\x01\x02*11\r\n", 16)},
        {"tooLong", "$GPGGA," + std::string(200, '1') + "*00\r\n"},
    };
    for (const Case& c : cases) {
        NmeaDecoder decoder;
        EXPECT_EQ(feed(decoder, c.text), 0u) << c.name;
        EXPECT_EQ(decoder.count("GGA"), 0u) << c.name;
        EXPECT_EQ(decoder.fix().quality, -1) << c.name;
    }
}

TEST(NmeaDecoder, emptyFieldsLeaveValuesUnknownAndSouthWestAreNegative) {
    NmeaDecoder decoder;
    // No fix yet: empty position, no age.
    ASSERT_TRUE(decoder.sentence("$GPGGA,000001.00,,,,,0,00,99.9,,,,,,*5E"));
    EXPECT_EQ(decoder.fix().quality, 0);
    EXPECT_FALSE(decoder.fix().latitude);
    EXPECT_FALSE(decoder.fix().age);
    ASSERT_TRUE(
        decoder.sentence("$GPGGA,000002.00,3345.0000,S,07030.0000,W,1,05,1.2,500.0,M,,M,,*79"));
    EXPECT_DOUBLE_EQ(*decoder.fix().latitude, -33.75);
    EXPECT_DOUBLE_EQ(*decoder.fix().longitude, -70.5);
}

} // namespace
} // namespace kestrava
