// The radio's channel table and air baud rate as typed on the Radio page or the command line.
#include "forms/RadioForm.h"

#include <gtest/gtest.h>

namespace kestrava {
namespace {

const QString kFormat =
    QStringLiteral("Please make sure the frequency value is with the format xxx.xxx");

QStringList sixteen(const QString& text) {
    QStringList texts;
    for (int i = 0; i < 16; ++i) {
        texts.append(text);
    }
    return texts;
}

TEST(RadioForm, frequencyTextsAreThreeDigitsAFullStopAndThreeDigits) {
    struct Case {
        const char* text;
        bool ok;
        float megahertz;
    };
    for (const Case& c :
         {Case{"463.125", true, 463.125f}, Case{"000.000", true, 0.0f},
          Case{"230.625", true, 230.625f}, Case{"463x125", false, 0}, Case{"463,125", false, 0},
          Case{"46.125", false, 0}, Case{"463.1250", false, 0}, Case{" 463.125", false, 0},
          Case{"", false, 0}}) {
        const FormResult<float> result = RadioForm::frequency(QString::fromLatin1(c.text));
        ASSERT_EQ(result.ok(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_FLOAT_EQ(result.record(), c.megahertz) << c.text;
        } else {
            EXPECT_EQ(result.refusal(), kFormat) << c.text;
        }
    }
}

TEST(RadioForm, aFrequencyOffTheRadiosStepsIsRefusedWithTheNearestOneThatCanBeSet) {
    struct Case {
        const char* text;
        const char* nearest; // nullptr: accepted
    };
    for (const Case& c :
         {Case{"463.125", nullptr}, Case{"459.225", nullptr}, Case{"999.975", nullptr},
          Case{"463.130", "463.125"}, Case{"463.137", "463.125"}, Case{"463.138", "463.150"},
          Case{"000.012", "000.000"}, Case{"000.013", "000.025"}, Case{"999.999", "999.975"}}) {
        const FormResult<float> result = RadioForm::frequency(QString::fromLatin1(c.text));
        ASSERT_EQ(result.ok(), c.nearest == nullptr) << c.text;
        if (c.nearest != nullptr) {
            EXPECT_EQ(result.refusal(),
                      QStringLiteral("%1 MHz is not a frequency the radio can be set to: it takes "
                                     "steps of 25 kHz, the nearest is %2 MHz")
                          .arg(QString::fromLatin1(c.text), QString::fromLatin1(c.nearest)));
        }
    }
    // In a table the first refusing cell's own message is given, translated by its key.
    QStringList transmit = sixteen(QStringLiteral("463.125"));
    transmit[4] = QStringLiteral("463.130");
    const FormResult<ChannelTable> table =
        RadioForm::channels(transmit, sixteen(QStringLiteral("463.125")));
    ASSERT_FALSE(table.ok());
    EXPECT_EQ(table.refusalIn([](const QString& key) { return QStringLiteral("<%1|%2>") + key; }),
              QStringLiteral("<463.130|463.125>") +
                  table.refusalKey().arg(QStringLiteral("463.130"), QStringLiteral("463.125")));
}

TEST(RadioForm, oneBadCellRefusesTheWholeTable) {
    QStringList transmit = sixteen(QStringLiteral("463.125"));
    QStringList receive = sixteen(QStringLiteral("000.000"));
    const FormResult<ChannelTable> good = RadioForm::channels(transmit, receive);
    ASSERT_TRUE(good.ok());
    EXPECT_FLOAT_EQ(good.record()[15].transmit, 463.125f);
    EXPECT_EQ(good.record()[15].receive, 0.0f); // "000.000" is a valid text and sends 0

    receive[15] = QStringLiteral("463x125");
    EXPECT_EQ(RadioForm::channels(transmit, receive).refusal(), kFormat);
    receive.removeLast();
    EXPECT_FALSE(RadioForm::channels(transmit, receive).ok());
}

TEST(RadioForm, airBaudIndexZeroIs9600AndEverythingElse19200) {
    EXPECT_EQ(RadioForm::airBaudForIndex(0), 9600);
    EXPECT_EQ(RadioForm::airBaudForIndex(1), 19200);
    EXPECT_EQ(RadioForm::airBaudForIndex(-1), 19200); // nothing selected
    EXPECT_EQ(RadioForm::airBaud(QStringLiteral("9600")).record(), 9600);
    EXPECT_EQ(RadioForm::airBaud(QStringLiteral("19200")).record(), 19200);
    EXPECT_FALSE(RadioForm::airBaud(QStringLiteral("38400")).ok());
    EXPECT_FALSE(RadioForm::airBaud(QString()).ok());
}

TEST(RadioForm, defaultTablesStepByATenthInFloats) {
    const ChannelTable table460 = RadioForm::defaultTable(true);
    EXPECT_EQ(RadioForm::frequencyText(table460[0].transmit), "459.225");
    EXPECT_EQ(RadioForm::frequencyText(table460[15].receive), "460.725");
    EXPECT_NEAR(table460[15].transmit, 460.725098, 1e-6);
    const ChannelTable table230 = RadioForm::defaultTable(false);
    EXPECT_EQ(RadioForm::frequencyText(table230[0].receive), "230.625");
    EXPECT_EQ(RadioForm::frequencyText(table230[1].transmit), "230.725");
    EXPECT_EQ(RadioForm::frequencyText(table230[15].transmit), "232.125");
}

} // namespace
} // namespace kestrava
