// The Static page's typed values, as the page and the command line check them.
#include "forms/StaticForm.h"

#include <gtest/gtest.h>

namespace kestrava {
namespace {

const QString kIntervalRefused =
    QStringLiteral("Please make sure the collect interval is a plus integer between 1-255");
const QString kCutoffRefused =
    QStringLiteral("Please make sure the cutoff is a plus integer between 0-90");
const QString kPrefixRefused = QStringLiteral("The prefix can only be one letter");
const QString kSerialRefused =
    QStringLiteral("The file SN should be a plus integer between 000-999");

struct CollectCase {
    const char* interval;
    const char* cutoff;
    QString refusal; // empty: accepted
};

TEST(StaticForm, collectIntervalAndCutoffAreCheckedInThatOrder) {
    for (const CollectCase& c : {
             CollectCase{"1", "0", {}}, CollectCase{"255", "90", {}},
             CollectCase{"2", "10", {}}, // not in the list, typed
             CollectCase{"0", "10", kIntervalRefused}, CollectCase{"256", "10", kIntervalRefused},
             CollectCase{"+5", "10", kIntervalRefused}, CollectCase{" 5", "10", kIntervalRefused},
             CollectCase{"", "10", kIntervalRefused}, CollectCase{"5", "91", kCutoffRefused},
             CollectCase{"5", "-1", kCutoffRefused}, CollectCase{"5", "", kCutoffRefused},
             CollectCase{"0", "91", kIntervalRefused}, // only the first refusal
         }) {
        SCOPED_TRACE(std::string(c.interval) + " / " + c.cutoff);
        const auto result =
            StaticForm::collect(QString::fromLatin1(c.interval), QString::fromLatin1(c.cutoff));
        EXPECT_EQ(result.ok(), c.refusal.isEmpty());
        EXPECT_EQ(result.refusal(), c.refusal);
        if (result.ok()) {
            EXPECT_EQ(result.record().intervalSeconds, QString::fromLatin1(c.interval).toInt());
            EXPECT_EQ(result.record().cutoffDegrees, QString::fromLatin1(c.cutoff).toInt());
        }
    }
}

struct NamingCase {
    const char* prefix;
    const char* serial;
    QString refusal;
};

TEST(StaticForm, namingKeepsWhatWasTypedOrRefusesPrefixFirst) {
    for (const NamingCase& c : {
             NamingCase{"", "7", {}},
             NamingCase{"_", "000", {}},
             NamingCase{"A", "999", {}},
             NamingCase{"AB", "7", kPrefixRefused},
             NamingCase{"#", "7", kPrefixRefused},
             NamingCase{"A", "0999", kSerialRefused}, // four characters, value in range
             NamingCase{"A", "abc", kSerialRefused},
             NamingCase{"A", "", kSerialRefused},
             NamingCase{"AB", "abc", kPrefixRefused},
         }) {
        SCOPED_TRACE(std::string(c.prefix) + " / " + c.serial);
        const auto result =
            StaticForm::naming(QString::fromLatin1(c.prefix), QString::fromLatin1(c.serial));
        EXPECT_EQ(result.refusal(), c.refusal);
        if (result.ok()) {
            EXPECT_EQ(result.record().prefix, QString::fromLatin1(c.prefix));
            EXPECT_EQ(result.record().serial, QString::fromLatin1(c.serial)); // not padded
        }
    }
}

TEST(StaticForm, switchesTakeOnlyOneOrZero) {
    EXPECT_TRUE(StaticForm::onOff(QStringLiteral("1"), QStringLiteral("X.Y")).record());
    EXPECT_FALSE(StaticForm::onOff(QStringLiteral("0"), QStringLiteral("X.Y")).record());
    for (const char* text : {"", "2", "on", "01", " 1"}) {
        const auto result = StaticForm::onOff(QString::fromLatin1(text), QStringLiteral("X.Y"));
        EXPECT_FALSE(result.ok()) << text;
        EXPECT_EQ(result.refusal(), QStringLiteral("X.Y must be 1 or 0"));
    }
}

} // namespace
} // namespace kestrava
