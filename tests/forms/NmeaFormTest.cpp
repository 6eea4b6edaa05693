// The NMEA output choice as the 16 digits of the settings file and the command line.
#include "forms/NmeaForm.h"

#include <gtest/gtest.h>

namespace kestrava {
namespace {

TEST(NmeaForm, sixteenDigitsInRecordOrderRoundTrip) {
    const FormResult<NmeaOutputChoice> choice = NmeaForm::parse(QStringLiteral("1000000000001500"));
    ASSERT_TRUE(choice.ok());
    EXPECT_EQ(choice.record().port(), 1);
    EXPECT_EQ(choice.record().on(NmeaOutputChoice::ZDA), 1);
    EXPECT_EQ(choice.record().rate(NmeaOutputChoice::ZDA), 5);
    EXPECT_EQ(choice.record().on(NmeaOutputChoice::GGA), 0);
    EXPECT_EQ(NmeaForm::text(choice.record()), "1000000000001500");
}

TEST(NmeaForm, refusesWrongLengthsAndDigitsOutOfTheirRange) {
    for (const char* text :
         {"", "001010101010101", "00101010101010100", "2010101010101010", "0210101010101010",
          "0020101010101010", "0016101010101010", "001010101010101x"}) {
        EXPECT_FALSE(NmeaForm::parse(QString::fromLatin1(text)).ok()) << text;
    }
    EXPECT_TRUE(NmeaForm::parse(QStringLiteral("0010101010101010")).ok());
}

} // namespace
} // namespace kestrava
